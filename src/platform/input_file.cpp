#include "platform/input_file.h"

#include <cerrno>

#include "platform/failure.h"
#include "platform/file_system.h"

#ifdef _WIN32
#include <algorithm>

#include "platform/native_path.h"
#include "platform/windows_file_info.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix_file_info.h"
#endif

namespace mirudana {

#ifdef _WIN32
// Opened with backup semantics, which a folder needs to be opened at all, so that
// a folder is told apart from a file that may not be read. The game may still be
// writing, renaming or removing the file: every kind of sharing is allowed.
InputFile::InputFile(const std::string& path) {
    HANDLE handle = CreateFileW(nativePath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        // Held by a program that shares it with no one: no want of rights.
        const bool held = GetLastError() == ERROR_SHARING_VIOLATION;
        throwErrno(held ? EBUSY : lastErrno(), FileAccess::Reading);
    }
    // The plain size and times: the fuller BY_HANDLE_FILE_INFORMATION also asks the
    // volume for its serial number, which costs more than the rest of the open.
    FILE_STANDARD_INFO standard{};
    FILE_BASIC_INFO basic{};
    if (GetFileType(handle) != FILE_TYPE_DISK ||
        !GetFileInformationByHandleEx(handle, FileStandardInfo, &standard, sizeof standard) ||
        !GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic) ||
        standard.Directory) {
        CloseHandle(handle);
        throw Failure(failure::kPathFileAccess);
    }
    handle_ = handle;
    size_ = static_cast<std::uint64_t>(standard.EndOfFile.QuadPart);
    modified_ = timeOfFileTicks(basic.LastWriteTime.QuadPart);
    // Asked of the path, as every other part of the tool asks it: the open file's
    // own attributes need not say that a name starting with "." is hidden.
    hidden_ = isHiddenFile(path);
}

InputFile::~InputFile() { CloseHandle(handle_); }

std::size_t InputFile::read(char* into, std::size_t n) {
    std::size_t got = 0;
    // As below: reading stops at the size the file had when opened.
    while (got < n && offset_ < size_) {
        DWORD part = 0;
        const auto asked = static_cast<DWORD>(std::min<std::size_t>(n - got, 1u << 30));
        if (!ReadFile(handle_, into + got, asked, &part, nullptr)) {
            throwErrno(lastErrno(), FileAccess::Reading);
        }
        if (part == 0) break;
        got += part;
        offset_ += part;
    }
    return got;
}
#else
// One open and one look at what was opened: a run opens thousands of small files,
// where every further call on a path shows in the time it takes.
InputFile::InputFile(const std::string& path) {
    // Not blocking, so that opening a named pipe returns at once to be turned away.
    // The path's bytes are the file system's own here: no path object is needed.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) throwErrno(errno, FileAccess::Reading);
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        int err = errno;
        ::close(fd_);
        throwErrno(err, FileAccess::Reading);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd_);
        throw Failure(failure::kPathFileAccess);
    }
    size_ = static_cast<std::uint64_t>(info.st_size);
    modified_ = timeOfTimespec(info.st_mtim);
    hidden_ = isHiddenFile(path);
}

InputFile::~InputFile() { ::close(fd_); }

std::size_t InputFile::read(char* into, std::size_t n) {
    std::size_t got = 0;
    // Reading stops at the size the file had when opened, saving the call that
    // would only find its end.
    while (got < n && offset_ < size_) {
        ssize_t part = ::read(fd_, into + got, n - got);
        if (part < 0 && errno == EINTR) continue;
        if (part < 0) throwErrno(errno, FileAccess::Reading);
        if (part == 0) break;
        got += static_cast<std::size_t>(part);
        offset_ += static_cast<std::uint64_t>(part);
    }
    return got;
}
#endif

}  // namespace mirudana
