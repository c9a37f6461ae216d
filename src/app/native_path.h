// The core's paths are UTF-8 text; the file system wants its own path type.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace mirudana {

inline std::filesystem::path nativePath(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string pathText(const std::filesystem::path& path) {
    std::u8string u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

}  // namespace mirudana
