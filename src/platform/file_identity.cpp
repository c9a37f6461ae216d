#include "platform/file_identity.h"

#include "platform/file_system.h"
#include "platform/native_path.h"

#ifdef _WIN32
#include "platform/windows_file_info.h"
#else
#include "platform/posix_file_info.h"
#endif

namespace mirudana {

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

std::optional<FolderStamp> folderStamp(const std::string& path) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!look(path, info)) return std::nullopt;
    return FolderStamp{identityOf(info), timeOfFileTime(info.ftLastWriteTime)};
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

std::optional<FolderStamp> folderStamp(const std::string& path) {
    struct stat info {};
    if (!look(path, info)) return std::nullopt;
    return FolderStamp{identityOf(info), timeOfTimespec(info.st_ctim)};
}
#endif

}  // namespace mirudana
