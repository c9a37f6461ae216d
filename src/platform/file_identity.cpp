#include "platform/file_identity.h"

#include "platform/file_system.h"
#include "platform/native_path.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace mirudana {
namespace {

std::chrono::system_clock::time_point sinceEra(std::chrono::nanoseconds time) {
    return std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(time));
}

}  // namespace

#ifdef _WIN32
namespace {

// Opened for no access at all: enough to ask for the identity, and allowed even
// while another program holds the file.
bool look(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE handle = CreateFileW(nativePath(path).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    BOOL ok = GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    return ok != 0;
}

FileIdentity identityOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return FileIdentity{info.dwVolumeSerialNumber,
                        std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow};
}

}  // namespace

std::optional<FileIdentity> fileIdentity(const std::string& path) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!look(path, info)) return std::nullopt;
    return identityOf(info);
}

std::optional<FileIdentity> ordinaryFileIdentity(const std::string& path) {
    if (!isOrdinaryFile(path)) return std::nullopt;
    return fileIdentity(path);
}

std::optional<FolderStamp> folderStamp(const std::string& path) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!look(path, info)) return std::nullopt;
    // In units of 100 ns since 1601, 369 years before the system clock's era began.
    const FILETIME& t = info.ftLastWriteTime;
    constexpr std::int64_t kEraStart = 116'444'736'000'000'000;
    auto ticks = static_cast<std::int64_t>(std::uint64_t{t.dwHighDateTime} << 32 | t.dwLowDateTime);
    using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>;
    return FolderStamp{identityOf(info), sinceEra(Ticks(ticks - kEraStart))};
}
#else
namespace {

// The file `path` names, looked at once; false when there is none to look at.
bool look(const std::string& path, struct stat& info) {
    return !path.empty() && ::stat(nativePath(path).c_str(), &info) == 0;
}

FileIdentity identityOf(const struct stat& info) {
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace

std::optional<FileIdentity> fileIdentity(const std::string& path) {
    struct stat info {};
    if (!look(path, info)) return std::nullopt;
    return identityOf(info);
}

std::optional<FileIdentity> ordinaryFileIdentity(const std::string& path) {
    struct stat info {};
    if (isHiddenFile(path) || !look(path, info) || !S_ISREG(info.st_mode)) return std::nullopt;
    return identityOf(info);
}

std::optional<FolderStamp> folderStamp(const std::string& path) {
    struct stat info {};
    if (!look(path, info)) return std::nullopt;
    return FolderStamp{identityOf(info), sinceEra(std::chrono::seconds(info.st_ctim.tv_sec) +
                                                  std::chrono::nanoseconds(info.st_ctim.tv_nsec))};
}
#endif

}  // namespace mirudana
