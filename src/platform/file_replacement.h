// Replacing a file's content in one step: the new content goes to a temporary file
// beside the target, which takes the target's place only when everything was
// written. A failure at any point leaves the old file untouched and no temporary
// file behind; so does an interrupt (see interrupt_cleanup.h). On Linux the
// temporary file has no name until just before it takes the target's place, so
// even a kill that cannot be caught leaves nothing behind.
//
// When the folder refuses a new file, or would refuse it the target's place (a
// sticky folder such as /tmp, the target another user's), but the target itself
// may be written, the content is written into the target in place instead: that write is not done
// in one step, and a failure or an interrupt may leave the target cut short. It holds a lock on the
// target meanwhile (flock here, no write sharing on Windows): a second such write while one goes on
// fails with EBUSY.
//
// The null device (/dev/null, NUL on Windows) takes the content and drops it; any
// other device or special file is refused (ENODEV).
//
// A replaced target keeps its permissions and, where the process has the rights,
// its owner and group. Other hard links to the old file keep the old content.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace mirudana {

class RemoveOnInterrupt;

class FileReplacement {
  public:
    // Prepares to replace `path`. A symbolic link (on Windows also a junction) is
    // followed to the file it names, which is replaced while the link stays. The
    // first write fails for an empty path, a link loop or a link to nothing, a
    // target that is not a regular file, a read-only target (the read-only
    // attribute on Windows), or a folder where no file can be created (unless the
    // target can be written in place).
    explicit FileReplacement(const std::string& path);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Appends bytes to the new content. Throws Failure, with the writing text of
    // the error, once anything has failed.
    void write(std::string_view bytes);

    // Flushes the new content to the disk, gives it the old file's permissions,
    // owner and group (a new file keeps the usual ones) and puts it in the
    // target's place; on Windows with ReplaceFileW, which keeps the old file's
    // attributes (hidden, system) and security, or with MoveFileExW writing
    // through for a new file. Throws Failure as write() does.
    void commit();

  private:
    bool fail(int err);
    [[noreturn]] void throwFailure() const;
    bool createUnnamed();
    bool createNamed();
    bool openInPlace();
    bool giveOldAttributes();
    bool flushToDisk();
    bool nameUnnamed();

    std::filesystem::path target_;
    std::filesystem::path temporary_;  // empty until the new content has a name
    std::unique_ptr<RemoveOnInterrupt> cleanup_;
    std::FILE* file_ = nullptr;
    std::filesystem::perms permissions_ = std::filesystem::perms::unknown;
    long long owner_ = -1;  // the old file's owner and group, where the system has them
    long long group_ = -1;
    bool targetExists_ = false;
    bool unnamed_ = false;
    bool discard_ = false;  // the null device: nothing to write
    bool inPlace_ = false;
    bool committed_ = false;
    int error_ = 0;  // the first errno that made it fail
};

}  // namespace mirudana
