#include "platform/native_path.h"

#ifdef _WIN32
#include <windows.h>

#include <algorithm>

#include "platform/utf.h"

namespace mirudana {
namespace {

// Below this many characters every call takes the path as it is (the old limit
// less room for a file name of 8.3 form, which folders must leave).
constexpr std::size_t kShortPathLimit = 248;

constexpr std::wstring_view kExtended = L"\\\\?\\";
constexpr std::wstring_view kExtendedUnc = L"\\\\?\\UNC\\";
constexpr std::wstring_view kDevice = L"\\\\.\\";  // NUL, CON, ... in any folder

std::wstring fullPathOf(const std::wstring& path) {
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        DWORD n =
            GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (n == 0) return path;
        if (n < full.size()) {
            full.resize(n);
            return full;
        }
        full.resize(n);
    }
}

std::wstring extendedForm(std::wstring wide) {
    if (wide.starts_with(kExtended) || wide.starts_with(kDevice)) return wide;
    // A short relative path may still be long once the current folder is before it.
    const bool absolute = wide.starts_with(L"\\\\") || (wide.size() > 2 && wide[1] == L':' &&
                                                        (wide[2] == L'\\' || wide[2] == L'/'));
    if (absolute && wide.size() < kShortPathLimit) return wide;
    std::wstring full = fullPathOf(wide);
    if (full.size() < kShortPathLimit || full.starts_with(kDevice)) return wide;
    if (full.starts_with(L"\\\\")) return std::wstring(kExtendedUnc) + full.substr(2);
    return std::wstring(kExtended) + full;
}

}  // namespace

std::filesystem::path nativePath(std::string_view utf8) {
    std::u16string wide = utf8ToUtf16(utf8);
    if (!isValidUtf8(utf8)) std::replace(wide.begin(), wide.end(), u'\uFFFD', u'?');
    return std::filesystem::path(extendedForm(std::wstring(wide.begin(), wide.end())));
}

std::filesystem::path fullNativePath(const std::filesystem::path& path) {
    return std::filesystem::path(fullPathOf(path.native()));
}

std::string pathText(const std::filesystem::path& path) {
    std::wstring_view wide = path.native();
    std::wstring plain;
    if (wide.starts_with(kExtendedUnc)) {
        plain = L"\\\\" + std::wstring(wide.substr(kExtendedUnc.size()));
        wide = plain;
    } else if (wide.starts_with(kExtended) && wide.size() > kExtended.size() + 1 &&
               wide[kExtended.size() + 1] == L':') {
        wide.remove_prefix(kExtended.size());
    }
    return utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

}  // namespace mirudana
#endif
