// The core's paths are UTF-8 text; the file system wants its own path type.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/utf.h"

namespace mirudana {

#ifdef _WIN32
// Text that is not UTF-8 names no file: its bad bytes become "?", which no Windows
// file name may hold, so every use of the path fails as a bad file name instead
// of throwing, or of touching a file of a similar name.
inline std::filesystem::path nativePath(std::string_view utf8) {
    std::u16string wide = utf8ToUtf16(utf8);
    if (!isValidUtf8(utf8)) std::replace(wide.begin(), wide.end(), u'\uFFFD', u'?');
    return std::filesystem::path(std::wstring(wide.begin(), wide.end()));
}

// A name with an unpaired surrogate (which NTFS allows) gets U+FFFD in its place.
inline std::string pathText(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    return utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}
#else
inline std::filesystem::path nativePath(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string pathText(const std::filesystem::path& path) {
    std::u8string u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}
#endif

}  // namespace mirudana
