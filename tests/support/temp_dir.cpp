#include "support/temp_dir.h"

#include <fstream>
#include <random>
#include <sstream>

#include "platform/codepage.h"
#include "platform/native_path.h"
#include "platform/paths.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace mirudana::testing {

TempDir::TempDir() {
    std::random_device rd;
    for (;;) {
        fs::path candidate = fs::temp_directory_path() / ("mirudana-test-" + std::to_string(rd()));
        if (fs::create_directory(candidate)) {
            path_ = pathText(candidate);
            break;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    // Restore write permission first so tests that lock files down still clean up.
    for (auto it = fs::recursive_directory_iterator(nativePath(path_), ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(nativePath(path_), ec);
}

std::string TempDir::file(std::string_view relative) const {
    return pathText(nativePath(AddDirSep(path_) + std::string(relative)));
}

std::string TempDir::write(std::string_view relative, std::string_view bytes) const {
    fs::path p = nativePath(AddDirSep(path_) + std::string(relative));
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return pathText(p);
}

std::string TempDir::writeCp932(std::string_view relative, std::string_view text) const {
    return write(relative, utf8ToCp932(text));
}

std::string TempDir::makeDir(std::string_view relative) const {
    fs::path p = nativePath(AddDirSep(path_) + std::string(relative));
    fs::create_directories(p);
    return pathText(p);
}

#ifdef _WIN32
bool makeSymlink(const std::string& target, const std::string& link) {
    CreateSymbolicLinkW(nativePath(link).c_str(), nativePath(target).make_preferred().c_str(),
                        SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    return isSymlink(link);  // checked, not trusted
}

bool isSymlink(const std::string& path) {
    DWORD attributes = GetFileAttributesW(nativePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}
#else
bool makeSymlink(const std::string& target, const std::string& link) {
    std::error_code ec;
    fs::create_symlink(target, link, ec);
    return !ec;
}

bool isSymlink(const std::string& path) {
    std::error_code ec;
    return fs::is_symlink(fs::symlink_status(path, ec));
}
#endif

std::string readBytes(const std::string& path) {
    std::ifstream in(nativePath(path), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace mirudana::testing
