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
    // Prepares to replace `path`. A symbolic link is followed to the file it names.
    // Fails (see ok()) for an empty path, a link loop, a target that is not a
    // regular file, a read-only target, or a folder where no file can be created.
    explicit FileReplacement(const std::string& path);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    bool ok() const { return file_ != nullptr; }

    // Appends bytes to the new content; false once anything has failed.
    bool write(std::string_view bytes);

    // Flushes the new content to the disk, gives it the old file's permissions (a
    // new file keeps the usual ones) and renames it over the target.
    bool commit();

  private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::filesystem::perms permissions_ = std::filesystem::perms::unknown;
    std::FILE* file_ = nullptr;
    bool committed_ = false;
};

}  // namespace mirudana
