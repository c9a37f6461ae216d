#include "report/report_writer.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>

#include "app/codepage.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace mirudana {
namespace {

fs::path toPath(const std::string& path) {
    return fs::path(std::u8string(path.begin(), path.end()));
}

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
    constexpr auto kAnyWrite = fs::perms::owner_write | fs::perms::group_write |
                               fs::perms::others_write;
    if ((status.permissions() & kAnyWrite) == fs::perms::none) return false;
#ifndef _WIN32
    if (access(path.c_str(), W_OK) != 0) return false;
#endif
    return true;
}

// A new file beside the target, removed again unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const fs::path& target) {
        std::random_device random;
        fs::path folder = target.parent_path();
        for (int attempt = 0; attempt < 16 && file_ == nullptr; ++attempt) {
            fs::path name = "." + target.filename().string() + "." +
                            std::to_string(random() % 1000000000u) + ".tmp";
            path_ = folder / name;
#ifdef _WIN32
            file_ = _wfopen(path_.c_str(), L"wbx");
#else
            file_ = std::fopen(path_.c_str(), "wbx");  // mode 0666 less the umask
#endif
            if (file_ == nullptr && errno != EEXIST) break;
        }
        created_ = file_ != nullptr;
    }
    ~TemporaryFile() {
        if (file_ != nullptr) std::fclose(file_);
        if (created_ && !committed_) {
            std::error_code ec;
            fs::remove(path_, ec);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool write(const std::string& bytes) {
        if (file_ == nullptr) return false;
        bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() &&
                  std::fflush(file_) == 0;
#ifndef _WIN32
        ok = ok && fsync(fileno(file_)) == 0;
#endif
        ok = (std::fclose(file_) == 0) && ok;
        file_ = nullptr;
        return ok;
    }

    bool moveOver(const fs::path& target) {
        std::error_code ec;
        fs::rename(path_, target, ec);
        committed_ = !ec;
        return committed_;
    }

    const fs::path& path() const { return path_; }

private:
    fs::path path_;
    std::FILE* file_ = nullptr;
    bool created_ = false;
    bool committed_ = false;
};

}  // namespace

bool writeReportFile(const std::string& path, const std::string& text) {
    if (path.empty()) return false;
    std::optional<fs::path> target = followLinks(toPath(path));
    if (!target) return false;
    std::error_code ec;
    fs::file_status old = fs::status(*target, ec);
    bool exists = fs::exists(old);
    if (exists && !isReplaceable(*target, old)) return false;

    TemporaryFile temporary(*target);
    if (!temporary.write(utf8ToCp932(text) + "\r\n")) return false;
    if (exists) {
        fs::permissions(temporary.path(), old.permissions(), fs::perm_options::replace, ec);
        if (ec) return false;
    }
    return temporary.moveOver(*target);
}

}  // namespace mirudana
