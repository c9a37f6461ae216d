#include "platform/file_system.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string_view>

#include "platform/failure.h"
#include "platform/folder_listing.h"
#include "platform/native_path.h"

#ifdef _WIN32
#include "platform/input_file.h"
#include "platform/windows_file_info.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix_file_info.h"
#endif

namespace fs = std::filesystem;

namespace mirudana {
namespace {

#ifdef _WIN32
constexpr DWORD kHidden = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | kHidden;

// A symbolic link's own attributes say nothing of the file it leads to, which is
// asked through a handle instead, as the tool opens it.
bool lookThroughLink(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
    HANDLE handle = CreateFileW(nativePath(path).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    FILE_BASIC_INFO basic{};
    FILE_STANDARD_INFO standard{};
    const bool known =
        GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic) &&
        GetFileInformationByHandleEx(handle, FileStandardInfo, &standard, sizeof standard);
    CloseHandle(handle);
    if (!known) return false;
    data.dwFileAttributes = basic.FileAttributes;
    data.nFileSizeHigh = static_cast<DWORD>(standard.EndOfFile.QuadPart >> 32);
    data.nFileSizeLow = static_cast<DWORD>(standard.EndOfFile.QuadPart);
    data.ftLastWriteTime.dwHighDateTime = static_cast<DWORD>(basic.LastWriteTime.QuadPart >> 32);
    data.ftLastWriteTime.dwLowDateTime = static_cast<DWORD>(basic.LastWriteTime.QuadPart);
    return true;
}

// One look at `path`, by the attributes, which the system gives for a path of any
// length: the kind, size and time of last change together, links followed.
bool look(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
    if (path.empty() ||
        !GetFileAttributesExW(nativePath(path).c_str(), GetFileExInfoStandard, &data)) {
        return false;
    }
    return (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 ||
           lookThroughLink(path, data);
}

FileStamp stampOf(const WIN32_FILE_ATTRIBUTE_DATA& data) {
    return FileStamp{(std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
                     timeOfFileTime(data.ftLastWriteTime)};
}
#else
bool isDotName(std::string_view name) { return !name.empty() && name.front() == '.'; }

// The path's bytes are the file system's own here: no path object is needed.
bool look(const std::string& path, struct stat& data) {
    return !path.empty() && ::stat(path.c_str(), &data) == 0;
}

FileStamp stampOf(const struct stat& data) {
    return FileStamp{static_cast<std::uint64_t>(data.st_size), timeOfTimespec(data.st_mtim)};
}
#endif

}  // namespace

std::optional<FileStamp> fileStamp(const std::string& path) {
#ifdef _WIN32
    WIN32_FILE_ATTRIBUTE_DATA data;
#else
    struct stat data;
#endif
    if (!look(path, data)) return std::nullopt;
    return stampOf(data);
}

std::optional<FileStamp> ordinaryFileStamp(const std::string& path) {
#ifdef _WIN32
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!look(path, data) || (data.dwFileAttributes & kNotOrdinary) != 0) return std::nullopt;
#else
    struct stat data;
    if (!look(path, data) || !S_ISREG(data.st_mode) || isHiddenFile(path)) return std::nullopt;
#endif
    return stampOf(data);
}

bool isOrdinaryFile(const std::string& path) { return ordinaryFileStamp(path).has_value(); }

bool isFolder(const std::string& path) {
#ifdef _WIN32
    if (path.empty()) return false;
    DWORD attributes = GetFileAttributesW(nativePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
#else
    std::error_code ec;
    return !path.empty() && fs::is_directory(nativePath(path), ec);
#endif
}

bool isHiddenFile(const std::string& path) {
#ifdef _WIN32
    DWORD attributes = GetFileAttributesW(nativePath(path).c_str());
    return attributes == INVALID_FILE_ATTRIBUTES || (attributes & kHidden) != 0;
#else
    // The name after the last separator, as a path would give it: a load asks this
    // for every battle file.
    return isDotName(std::string_view(path).substr(path.rfind('/') + 1));
#endif
}

bool endsWithIgnoringCase(const std::string& text, const std::string& suffix) {
    if (text.size() < suffix.size()) return false;
    return std::equal(suffix.begin(), suffix.end(), text.end() - suffix.size(), [](char a, char b) {
        auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        return lower(a) == lower(b);
    });
}

bool FileExists(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    return fs::exists(nativePath(path), ec);
}

std::vector<std::string> listOrdinaryFiles(const std::string& folder, const std::string& suffix) {
    std::vector<FolderEntry> entries;
    readFolder(folder, entries);
    std::vector<std::string> names;
    for (FolderEntry& entry : entries) {
        if (entry.isFile && !entry.isHidden && endsWithIgnoringCase(entry.name, suffix)) {
            names.push_back(std::move(entry.name));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

#ifdef _WIN32
std::string fileNameKey(const std::string& name) {
    std::wstring wide = nativePath(name).wstring();
    // The invariant upper case is the one the file system's own comparison uses.
    LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, wide.data(),
                  static_cast<int>(wide.size()), wide.data(), static_cast<int>(wide.size()),
                  nullptr, nullptr, 0);
    return pathText(wide);
}

// Asked of the open file: the C++ library follows no link or junction here, and
// under Wine a link of the host system is no reparse point at all.
fs::path resolvedPath(const fs::path& path, std::error_code& ec) {
    HANDLE file =
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ec.assign(static_cast<int>(GetLastError()), std::system_category());
        return {};
    }
    std::wstring target(32768, L'\0');
    DWORD n = GetFinalPathNameByHandleW(file, target.data(), static_cast<DWORD>(target.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(file);
    if (n > 0 && n < target.size()) {
        target.resize(n);
        ec.clear();
        return fs::path(target);
    }
    // Wine's answer stops at 260 characters: the path as written, in the same form.
    std::wstring full = fullNativePath(path).native();
    if (full.starts_with(L"\\\\?\\")) return full;
    if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// Through InputFile, which says why a file will not open: the C library calls a
// file another program holds one that may not be read.
std::string readWholeFile(const std::string& path, std::uint64_t maxBytes,
                          std::optional<FileIdentity>* identity) {
    InputFile file(path);
    if (file.size() > maxBytes) throw Failure(failure::kOutOfMemory);
    std::string content(static_cast<std::size_t>(file.size()), '\0');
    content.resize(file.read(content.data(), content.size()));
    if (identity != nullptr) *identity = fileIdentity(path);
    return content;
}
#else
std::string fileNameKey(const std::string& name) { return name; }

fs::path resolvedPath(const fs::path& path, std::error_code& ec) { return fs::canonical(path, ec); }

std::string readWholeFile(const std::string& path, std::uint64_t maxBytes,
                          std::optional<FileIdentity>* identity) {
    // One open, one fstat and the reads: battle files are read by the thousand.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throwErrno(errno, FileAccess::Reading);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0) throwErrno(errno, FileAccess::Reading);
    if (S_ISDIR(info.st_mode)) throw Failure(failure::kPathFileAccess);
    auto tooLarge = [maxBytes](std::uint64_t bytes) {
        if (bytes > maxBytes) throw Failure(failure::kOutOfMemory);
    };
    tooLarge(static_cast<std::uint64_t>(info.st_size > 0 ? info.st_size : 0));

    // Sized by fstat with a byte to spare, so that a short read ends a regular file
    // without another read. A file that grows is read on, and one that reports no
    // size (as some system files do) is read until a read gives nothing.
    const bool sized = S_ISREG(info.st_mode) && info.st_size > 0;
    std::string content(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 0) + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        // Grown no further than one byte past the limit, which tells it was passed.
        if (used == content.size()) {
            content.resize(maxBytes >= 2 * std::uint64_t{used}
                               ? 2 * used
                               : static_cast<std::size_t>(maxBytes) + 1);
        }
        const std::size_t wanted = content.size() - used;
        ssize_t got = ::read(fd, content.data() + used, wanted);
        if (got < 0) {
            if (errno == EINTR) continue;
            throwErrno(errno, FileAccess::Reading);
        }
        if (got == 0) break;
        used += static_cast<std::size_t>(got);
        tooLarge(used);
        if (sized && static_cast<std::size_t>(got) < wanted) break;
    }
    if (identity != nullptr) {
        *identity = FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                                 static_cast<std::uint64_t>(info.st_ino)};
    }
    content.resize(used);
    return content;
}
#endif

}  // namespace mirudana
