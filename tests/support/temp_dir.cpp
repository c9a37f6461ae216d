#include "support/temp_dir.h"

#include <fstream>
#include <random>
#include <sstream>

#include "app/codepage.h"

namespace fs = std::filesystem;

namespace mirudana::testing {
namespace {

fs::path toPath(std::string_view utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::string toText(const fs::path& p) {
    auto u8 = p.u8string();
    return std::string(u8.begin(), u8.end());
}

}  // namespace

TempDir::TempDir() {
    std::random_device rd;
    for (;;) {
        fs::path candidate = fs::temp_directory_path() / ("mirudana-test-" + std::to_string(rd()));
        if (fs::create_directory(candidate)) {
            path_ = toText(candidate);
            break;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    // Restore write permission first so tests that lock files down still clean up.
    for (auto it = fs::recursive_directory_iterator(toPath(path_), ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(toPath(path_), ec);
}

std::string TempDir::file(std::string_view relative) const {
    return toText(toPath(path_) / toPath(relative));
}

std::string TempDir::write(std::string_view relative, std::string_view bytes) const {
    fs::path p = toPath(path_) / toPath(relative);
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return toText(p);
}

std::string TempDir::writeCp932(std::string_view relative, std::string_view text) const {
    return write(relative, utf8ToCp932(text));
}

std::string TempDir::makeDir(std::string_view relative) const {
    fs::path p = toPath(path_) / toPath(relative);
    fs::create_directories(p);
    return toText(p);
}

std::string readBytes(const std::string& path) {
    std::ifstream in(toPath(path), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace mirudana::testing
