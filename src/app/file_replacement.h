// Replacing a file's content in one step: the new content goes to a temporary file
// beside the target, which is renamed over it only when everything was written.
// A failure at any point leaves the old file untouched and no temporary file behind.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace mirudana {

class FileReplacement {
  public:
    // Prepares to replace `path`. A symbolic link (on Windows also a junction) is
    // followed to the file it names, which is replaced while the link stays. Fails
    // (see ok()) for an empty path, a link loop or a link to nothing, a target that
    // is not a regular file, a read-only target (the read-only attribute on
    // Windows), or a folder where no file can be created.
    explicit FileReplacement(const std::string& path);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    bool ok() const { return file_ != nullptr; }

    // Appends bytes to the new content; false once anything has failed.
    bool write(std::string_view bytes);

    // Flushes the new content to the disk, gives it the old file's permissions (a
    // new file keeps the usual ones) and renames it over the target; on Windows
    // with ReplaceFileW, which keeps the old file's attributes (hidden, system) and
    // security, or with MoveFileExW writing through for a new file.
    bool commit();

  private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::filesystem::perms permissions_ = std::filesystem::perms::unknown;
    std::FILE* file_ = nullptr;
    bool committed_ = false;
};

}  // namespace mirudana
