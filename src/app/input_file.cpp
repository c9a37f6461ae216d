#include "app/input_file.h"

#include <cerrno>
#include <filesystem>

#include "app/failure.h"
#include "app/native_path.h"

namespace mirudana {

InputFile::InputFile(const std::string& path) {
    std::filesystem::path p = nativePath(path);
    std::error_code ec;
    if (std::filesystem::is_directory(p, ec)) throw Failure(failure::kPathFileAccess);
    errno = 0;
#ifdef _WIN32
    file_ = _wfopen(p.c_str(), L"rb");
#else
    file_ = std::fopen(p.c_str(), "rbe");  // close on exec
#endif
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

}  // namespace mirudana
