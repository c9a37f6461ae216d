#include "app/file_replacement.h"

#include <cerrno>
#include <optional>
#include <random>

#include "app/native_path.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace mirudana {
namespace {

#ifdef _WIN32
// The file a symbolic link or junction ends at (the path itself when it is none),
// as the system resolves it. Nothing for a link that leads nowhere.
std::optional<fs::path> followLinks(fs::path path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        return path;
    }
    HANDLE file =
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::wstring target(32768, L'\0');
    DWORD n = GetFinalPathNameByHandleW(file, target.data(), static_cast<DWORD>(target.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(file);
    if (n == 0 || n >= target.size()) return std::nullopt;
    target.resize(n);
    return fs::path(target);
}

// May the existing file `path` be replaced? Not a folder, nor a read-only file.
// Hidden and system files may: the replacement keeps their attributes.
bool isReplaceable(const fs::path& path, const fs::file_status&) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
}

// Puts the finished `temporary` in the place of `target`, on the disk before it
// returns. ReplaceFileW keeps an existing target's security; its hidden and system
// attributes are carried over here as well, since not every system's ReplaceFileW
// does (Wine's does not).
bool moveIntoPlace(const fs::path& temporary, const fs::path& target, bool targetExisted) {
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    DWORD kept = targetExisted ? GetFileAttributesW(target.c_str()) & kKept : 0;
    bool moved =
        (targetExisted && ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                                       REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) ||
        MoveFileExW(temporary.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (moved && kept != 0) {
        DWORD now = GetFileAttributesW(target.c_str()) & ~DWORD{FILE_ATTRIBUTE_NORMAL};
        SetFileAttributesW(target.c_str(), now | kept);
    }
    return moved;
}

bool flushToDisk(std::FILE* file) {
    auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    return FlushFileBuffers(handle) != 0;
}
#else
// The file a chain of symbolic links ends at (the path itself when it is none).
// Nothing for a loop or a link that cannot be read.
std::optional<fs::path> followLinks(fs::path path) {
    constexpr int kMaxHops = 40;  // as the kernel allows
    for (int hop = 0; hop < kMaxHops; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
        fs::path target = fs::read_symlink(path, ec);
        if (ec) return std::nullopt;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return std::nullopt;
}

// May the existing file `path` be replaced? A read-only file may not, also for a
// user (such as root) whom the system would let write it anyway.
bool isReplaceable(const fs::path& path, const fs::file_status& status) {
    if (!fs::is_regular_file(status)) return false;
    constexpr auto kAnyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((status.permissions() & kAnyWrite) == fs::perms::none) return false;
    return access(path.c_str(), W_OK) == 0;
}

bool moveIntoPlace(const fs::path& temporary, const fs::path& target, bool) {
    std::error_code ec;
    fs::rename(temporary, target, ec);
    return !ec;
}

bool flushToDisk(std::FILE* file) { return fsync(fileno(file)) == 0; }
#endif

// Creates a new, hidden file beside `target`; nullptr (and `created` empty) when
// none can be made. The name is short and fixed in form, so that a target whose
// own name is near the system's limit can still be replaced.
std::FILE* createTemporary(const fs::path& target, fs::path& created) {
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        created =
            target.parent_path() / (".mirudana-" + std::to_string(random() % 1000000000u) + ".tmp");
#ifdef _WIN32
        std::FILE* file = _wfopen(created.c_str(), L"wbx");
#else
        std::FILE* file = std::fopen(created.c_str(), "wbx");  // mode 0666 less the umask
#endif
        if (file != nullptr) return file;
        if (errno != EEXIST) break;
    }
    created.clear();  // never remove a file someone else made
    return nullptr;
}

}  // namespace

FileReplacement::FileReplacement(const std::string& path) {
    if (path.empty()) return;
    std::optional<fs::path> target = followLinks(nativePath(path));
    if (!target) return;
    target_ = *target;
    std::error_code ec;
    fs::file_status old = fs::status(target_, ec);
    if (fs::exists(old)) {
        if (!isReplaceable(target_, old)) return;
        permissions_ = old.permissions();
    }
    file_ = createTemporary(target_, temporary_);
}

FileReplacement::~FileReplacement() {
    if (file_ != nullptr) std::fclose(file_);
    if (!temporary_.empty() && !committed_) {
        std::error_code ec;
        fs::remove(temporary_, ec);
    }
}

bool FileReplacement::write(std::string_view bytes) {
    if (file_ == nullptr) return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size()) return true;
    std::fclose(file_);
    file_ = nullptr;
    return false;
}

bool FileReplacement::commit() {
    if (file_ == nullptr) return false;
    bool ok = std::fflush(file_) == 0 && flushToDisk(file_);
    ok = (std::fclose(file_) == 0) && ok;
    file_ = nullptr;
    const bool targetExisted = permissions_ != fs::perms::unknown;
#ifndef _WIN32
    // (On Windows the replacement takes the old file's attributes and security itself.)
    if (ok && targetExisted) {
        std::error_code ec;
        fs::permissions(temporary_, permissions_, fs::perm_options::replace, ec);
        ok = !ec;
    }
#endif
    ok = ok && moveIntoPlace(temporary_, target_, targetExisted);
    committed_ = ok;
    return ok;
}

}  // namespace mirudana
