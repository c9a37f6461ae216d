#include "platform/input_file.h"

#include <cerrno>
#include <filesystem>

#include "platform/failure.h"
#include "platform/native_path.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mirudana {

#ifdef _WIN32
InputFile::InputFile(const std::string& path) {
    std::filesystem::path p = nativePath(path);
    std::error_code ec;
    if (std::filesystem::exists(p, ec) && !std::filesystem::is_regular_file(p, ec)) {
        throw Failure(failure::kPathFileAccess);
    }
    errno = 0;
    file_ = _wfopen(p.c_str(), L"rb");
    if (file_ == nullptr) throwErrno(errno != 0 ? errno : ENOENT, FileAccess::Reading);
    auto size = std::filesystem::file_size(p, ec);
    size_ = ec ? 0 : size;
}

InputFile::~InputFile() { std::fclose(file_); }

std::size_t InputFile::read(char* into, std::size_t n) {
    std::size_t got = std::fread(into, 1, n, file_);
    if (got < n && std::ferror(file_)) throwErrno(errno != 0 ? errno : EIO, FileAccess::Reading);
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
