#include "report/report_writer.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <string_view>

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
    constexpr auto kAnyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((status.permissions() & kAnyWrite) == fs::perms::none) return false;
#ifndef _WIN32
    if (access(path.c_str(), W_OK) != 0) return false;
#endif
    return true;
}

// About a megabyte of `text`, ending just after an ASCII byte (or at its end):
// such a byte is never part of a longer character, so the pieces convert exactly
// as the whole would.
std::size_t pieceLength(std::string_view text) {
    constexpr std::size_t kPiece = 1 << 20;
    if (text.size() <= kPiece) return text.size();
    for (std::size_t end = kPiece; end < text.size(); ++end) {
        if (static_cast<unsigned char>(text[end - 1]) < 0x80) return end;
    }
    return text.size();
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

    // Writes `text` in code page 932 and a closing CR LF, then closes the file. The
    // text is converted a piece at a time so a large report is never held twice.
    bool writeLine(std::string_view text) {
        if (file_ == nullptr) return false;
        bool ok = true;
        while (ok && !text.empty()) {
            std::size_t length = pieceLength(text);
            std::string piece = utf8ToCp932(text.substr(0, length));
            ok = std::fwrite(piece.data(), 1, piece.size(), file_) == piece.size();
            text.remove_prefix(length);
        }
        ok = ok && std::fwrite("\r\n", 1, 2, file_) == 2 && std::fflush(file_) == 0;
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
    if (!temporary.writeLine(text)) return false;
    if (exists) {
        fs::permissions(temporary.path(), old.permissions(), fs::perm_options::replace, ec);
        if (ec) return false;
    }
    return temporary.moveOver(*target);
}

}  // namespace mirudana
