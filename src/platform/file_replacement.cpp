#include "platform/file_replacement.h"

#include <cerrno>
#include <optional>
#include <random>

#include "platform/failure.h"
#include "platform/file_system.h"
#include "platform/interrupt_cleanup.h"
#include "platform/native_path.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/windows_file_info.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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
    std::error_code ec;
    fs::path target = resolvedPath(path, ec);
    if (ec) return std::nullopt;
    return target;
}

// Why the existing file `path` may not be replaced (an errno value), or 0: a
// folder or a read-only file may not. Hidden and system files may: the
// replacement keeps their attributes.
int refusal(const fs::path& path, const fs::file_status& status) {
    if (fs::is_directory(status)) return EISDIR;
    if (!fs::is_regular_file(status)) return EINVAL;
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return lastErrno();
    return (attributes & FILE_ATTRIBUTE_READONLY) ? EACCES : 0;
}

// Whether another program holds `target` open without letting it be deleted (a
// spreadsheet showing the report, say), so that no file may take its place. Asked
// before ReplaceFileW, which on Wine would leave a stray "rf*.tmp" behind.
bool heldOpenElsewhere(const fs::path& target) {
    HANDLE file =
        CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

// Puts the finished `temporary` in the place of `target`, on the disk before it
// returns; an errno value when it cannot. ReplaceFileW keeps an existing target's
// security; its hidden and system attributes are carried over here as well, since
// not every system's ReplaceFileW does (Wine's does not).
int moveIntoPlace(const fs::path& temporary, const fs::path& target, bool targetExisted) {
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (targetExisted && heldOpenElsewhere(target)) return ETXTBSY;
    DWORD kept = targetExisted ? GetFileAttributesW(target.c_str()) & kKept : 0;
    bool moved =
        (targetExisted && ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                                       REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) ||
        MoveFileExW(temporary.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!moved) return lastErrno();
    if (kept != 0) {
        DWORD now = GetFileAttributesW(target.c_str()) & ~DWORD{FILE_ATTRIBUTE_NORMAL};
        SetFileAttributesW(target.c_str(), now | kept);
    }
    return 0;
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

// Why the existing file `path` may not be replaced (an errno value), or 0. A
// read-only file may not, also for a user (such as root) whom the system would let
// write it anyway.
int refusal(const fs::path& path, const fs::file_status& status) {
    if (fs::is_directory(status)) return EISDIR;
    if (!fs::is_regular_file(status)) return EINVAL;
    constexpr auto kAnyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((status.permissions() & kAnyWrite) == fs::perms::none) return EACCES;
    return access(path.c_str(), W_OK) != 0 ? errno : 0;
}

// Whether the folder of `target` (whose owner is `owner`) lets no other file take
// its place: a sticky folder such as /tmp allows that only to the owner of the
// file or of the folder, or to root.
bool stickyFolderKeeps(const fs::path& target, uid_t owner) {
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || (info.st_mode & S_ISVTX) == 0) return false;
    const uid_t self = ::geteuid();
    return self != 0 && self != owner && self != info.st_uid;
}

int moveIntoPlace(const fs::path& temporary, const fs::path& target, bool) {
    std::error_code ec;
    fs::rename(temporary, target, ec);
    return ec.value();
}
#endif

enum class Device { None, Null, Other };

#ifdef _WIN32
// Windows gives device names (NUL, CON, LPT1.txt, ...) in any folder the full form
// "\\.\NAME".
Device deviceAt(const fs::path& path) {
    std::error_code ec;
    std::wstring full = fs::absolute(path, ec).native();
    if (ec || !full.starts_with(L"\\\\.\\")) return Device::None;
    return _wcsicmp(full.c_str() + 4, L"NUL") == 0 ? Device::Null : Device::Other;
}
#else
// Anything but a regular file or a folder; the null device by its device number.
Device deviceAt(const fs::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode) || S_ISDIR(info.st_mode)) {
        return Device::None;
    }
    struct stat null {};
    const bool isNull =
        S_ISCHR(info.st_mode) && ::stat("/dev/null", &null) == 0 && info.st_rdev == null.st_rdev;
    return isNull ? Device::Null : Device::Other;
}
#endif

// A fresh hidden name beside `target`. Short and fixed in form, so that a target
// whose own name is near the system's limit can still be replaced.
fs::path temporaryName(const fs::path& target) {
    static std::random_device random;
    return target.parent_path() / (".mirudana-" + std::to_string(random() % 1000000000u) + ".tmp");
}

constexpr int kNameAttempts = 16;

// The folder's refusal to hold a new file, where writing the target in place
// may still work.
bool folderRefuses(int err) { return err == EACCES || err == EPERM; }

}  // namespace

FileReplacement::FileReplacement(const std::string& path) {
    if (path.empty()) {
        fail(ENOENT);
        return;
    }
    std::optional<fs::path> target = followLinks(nativePath(path));
    if (!target) {
        fail(ELOOP);
        return;
    }
    target_ = *target;
    switch (deviceAt(target_)) {
        case Device::Null:
            discard_ = true;
            return;
        case Device::Other:
            fail(ENODEV);
            return;
        case Device::None:
            break;
    }
    std::error_code ec;
    fs::file_status old = fs::status(target_, ec);
    targetExists_ = fs::exists(old);
    if (targetExists_) {
        if (int err = refusal(target_, old)) {
            fail(err);
            return;
        }
        permissions_ = old.permissions();
#ifndef _WIN32
        struct stat info {};
        if (::stat(target_.c_str(), &info) == 0) owner_ = info.st_uid, group_ = info.st_gid;
        if (owner_ >= 0 && stickyFolderKeeps(target_, static_cast<uid_t>(owner_))) {
            openInPlace();
            return;
        }
#endif
    }
    if (createUnnamed() || createNamed()) return;
    if (targetExists_ && folderRefuses(error_)) {
        error_ = 0;
        openInPlace();
    }
}

FileReplacement::~FileReplacement() {
    if (file_ != nullptr) std::fclose(file_);
    if (!temporary_.empty() && !committed_) {
        std::error_code ec;
        fs::remove(temporary_, ec);
    }
}

bool FileReplacement::fail(int err) {
    if (error_ == 0) error_ = err != 0 ? err : EIO;
    return false;
}

void FileReplacement::throwFailure() const {
    throwErrno(error_ != 0 ? error_ : EIO, FileAccess::Writing);
}

bool FileReplacement::createUnnamed() {
#ifdef O_TMPFILE
    fs::path folder = target_.parent_path().empty() ? fs::path(".") : target_.parent_path();
    int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) return false;  // not every file system has them: a named one will do
    file_ = ::fdopen(fd, "wb");
    if (file_ == nullptr) {
        ::close(fd);
        return false;
    }
    unnamed_ = true;
    return true;
#else
    return false;
#endif
}

bool FileReplacement::createNamed() {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        fs::path name = temporaryName(target_);
#ifdef _WIN32
        // Delete sharing lets an interrupt remove the file while it is still open.
        HANDLE handle =
            CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS) continue;
            return fail(lastErrno());
        }
        int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
        file_ = fd < 0 ? nullptr : _fdopen(fd, "wb");
#else
        file_ = std::fopen(name.c_str(), "wbxe");  // mode 0666 less the umask
        if (file_ == nullptr && errno == EEXIST) continue;
        if (file_ == nullptr) return fail(errno);
#endif
        if (file_ == nullptr) {
            std::error_code ec;
            fs::remove(name, ec);
            return fail(EIO);
        }
        temporary_ = name;
        cleanup_ = std::make_unique<RemoveOnInterrupt>(temporary_);
        return true;
    }
    return fail(EEXIST);
}

// Locked for the write, so that two runs never mix their reports in one file: the
// second is refused rather than kept waiting.
bool FileReplacement::openInPlace() {
#ifdef _WIN32
    HANDLE handle = CreateFileW(target_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return fail(GetLastError() == ERROR_SHARING_VIOLATION ? EBUSY : lastErrno());
    }
    int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDWR | _O_BINARY);
    if (fd < 0) CloseHandle(handle);
    file_ = fd < 0 ? nullptr : _fdopen(fd, "r+b");
    if (file_ == nullptr) return fail(EIO);
#else
    file_ = std::fopen(target_.c_str(), "r+be");
    if (file_ == nullptr) return fail(errno);
    if (::flock(fileno(file_), LOCK_EX | LOCK_NB) != 0) {
        const int err = errno == EWOULDBLOCK ? EBUSY : errno;
        std::fclose(file_);
        file_ = nullptr;
        return fail(err);
    }
#endif
    inPlace_ = true;
    return true;
}

void FileReplacement::write(std::string_view bytes) {
    if (discard_) return;
    if (file_ == nullptr) throwFailure();
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size()) return;
    fail(errno);
    std::fclose(file_);
    file_ = nullptr;
    throwFailure();
}

bool FileReplacement::giveOldAttributes() {
    if (!targetExists_ || inPlace_) return true;
#ifdef _WIN32
    return true;  // ReplaceFileW carries the old file's attributes and security over
#else
    // Only a user with the rights can give the file away; others keep what they
    // may (the group, when they belong to it) and go on.
    int fd = fileno(file_);
    if (owner_ >= 0 && ::fchown(fd, static_cast<uid_t>(owner_), static_cast<gid_t>(group_)) != 0) {
        (void)!::fchown(fd, static_cast<uid_t>(-1), static_cast<gid_t>(group_));
    }
    // After the owner: changing it clears the set-id bits.
    return ::fchmod(fd, static_cast<mode_t>(permissions_ & fs::perms::mask)) == 0 || fail(errno);
#endif
}

bool FileReplacement::flushToDisk() {
    if (std::fflush(file_) != 0) return fail(errno);
#ifdef _WIN32
    if (inPlace_ && _chsize_s(_fileno(file_), _ftelli64(file_)) != 0) return fail(errno);
    return giveOldAttributes() && (_commit(_fileno(file_)) == 0 || fail(errno));
#else
    if (inPlace_ && ::ftruncate(fileno(file_), ftello(file_)) != 0) return fail(errno);
    return giveOldAttributes() && (::fsync(fileno(file_)) == 0 || fail(errno));
#endif
}

bool FileReplacement::nameUnnamed() {
#ifndef _WIN32
    const std::string self = "/proc/self/fd/" + std::to_string(fileno(file_));
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        fs::path name = temporaryName(target_);
        cleanup_ = std::make_unique<RemoveOnInterrupt>(name);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            temporary_ = name;
            return true;
        }
        cleanup_.reset();
        if (errno != EEXIST) return fail(errno);
    }
#endif
    return fail(EEXIST);
}

void FileReplacement::commit() {
    if (discard_) return;
    if (file_ == nullptr) throwFailure();
    // Named only now, just before it takes the target's place.
    bool ok = flushToDisk() && (!unnamed_ || nameUnnamed());
    if (std::fclose(file_) != 0 && ok) ok = fail(errno);
    file_ = nullptr;
    if (ok && !inPlace_) {
        int err = moveIntoPlace(temporary_, target_, targetExists_);
        ok = err == 0 || fail(err);
    }
    committed_ = ok;
    cleanup_.reset();
    if (!ok) throwFailure();
}

}  // namespace mirudana
