#include "app/file_system.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>

#include "app/failure.h"
#include "app/native_path.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace mirudana {
namespace {

bool isHidden(const fs::path& p) {
#ifdef _WIN32
    DWORD attributes = GetFileAttributesW(p.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES ||
           (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
#else
    auto name = p.filename().u8string();
    return !name.empty() && name.front() == u8'.';
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

}  // namespace

bool isOrdinaryFile(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    fs::path p = nativePath(path);
    return fs::is_regular_file(p, ec) && !isHidden(p);
}

bool FileExists(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    return fs::exists(nativePath(path), ec);
}

std::vector<std::string> listOrdinaryFiles(const std::string& folder, const std::string& suffix) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(nativePath(folder), ec);
    if (ec) return names;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        const fs::directory_entry& entry = *it;
        std::error_code typeError;
        if (!entry.is_regular_file(typeError) || isHidden(entry.path())) continue;
        std::string name = pathText(entry.path().filename());
        if (endsWithIgnoringCase(name, suffix)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string readWholeFile(const std::string& path) {
    fs::path p = nativePath(path);
    std::error_code ec;
    if (fs::is_directory(p, ec)) throw Failure(failure::kPathFileAccess);
    errno = 0;
    std::ifstream in(p, std::ios::binary);
    if (!in) throwErrno(errno != 0 ? errno : ENOENT);
    std::string content;
    in.seekg(0, std::ios::end);
    auto size = in.tellg();
    if (size > 0) {
        content.resize(static_cast<std::size_t>(size));
        in.seekg(0, std::ios::beg);
        in.read(content.data(), static_cast<std::streamsize>(content.size()));
        content.resize(static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) throw Failure(failure::kDeviceIO);
    return content;
}

}  // namespace mirudana
