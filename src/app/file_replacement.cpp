#include "app/file_replacement.h"

#include <cerrno>
#include <optional>
#include <random>

#include "app/native_path.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace mirudana {
namespace {

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
#ifndef _WIN32
    if (access(path.c_str(), W_OK) != 0) return false;
#endif
    return true;
}

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
    bool ok = std::fflush(file_) == 0;
#ifndef _WIN32
    ok = ok && fsync(fileno(file_)) == 0;
#endif
    ok = (std::fclose(file_) == 0) && ok;
    file_ = nullptr;
    std::error_code ec;
    if (ok && permissions_ != fs::perms::unknown) {
        fs::permissions(temporary_, permissions_, fs::perm_options::replace, ec);
        ok = !ec;
    }
    if (ok) {
        fs::rename(temporary_, target_, ec);
        ok = !ec;
    }
    committed_ = ok;
    return ok;
}

}  // namespace mirudana
