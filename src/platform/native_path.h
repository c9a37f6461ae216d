// The core's paths are UTF-8 text; the file system wants its own path type.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace mirudana {

#ifdef _WIN32
// Text that is not UTF-8 names no file: its bad bytes become "?", which no Windows
// file name may hold, so every use of the path fails as a bad file name instead
// of throwing, or of touching a file of a similar name. A path whose full form
// reaches the system's old limit of 260 characters is given in its extended form
// ("\\?\C:\..." or "\\?\UNC\server\..."), which every call takes at any length.
std::filesystem::path nativePath(std::string_view utf8);

// A name with an unpaired surrogate (which NTFS allows) gets U+FFFD in its place.
// The extended form's prefix is dropped, so texts show the path as it is written.
std::string pathText(const std::filesystem::path& path);

// The full form of `path` as the system makes it, which keeps an extended form
// whole: the C++ library here takes "\\?\C:\..." for a relative path and spoils it.
std::filesystem::path fullNativePath(const std::filesystem::path& path);
#else
inline std::filesystem::path nativePath(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string pathText(const std::filesystem::path& path) {
    std::u8string u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

inline std::filesystem::path fullNativePath(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(path, ec);
    return ec ? path : full;
}
#endif

}  // namespace mirudana
