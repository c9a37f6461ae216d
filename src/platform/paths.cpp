#include "platform/paths.h"

#include <filesystem>

#include "platform/native_path.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace mirudana {

std::string AddDirSep(const std::string& path) {
    if (!path.empty() && path.back() == kDirSep) return path;
    return path + kDirSep;
}

std::string fullPath(const std::string& path) {
    if (path.empty()) return path;
    std::filesystem::path full = nativePath(path);
    if (!full.is_absolute()) full = fullNativePath(full);
#ifndef _WIN32
    full = full.lexically_normal();  // Windows' own full form has none left
#endif
    return pathText(full);
}

std::string programFolder() {
    std::filesystem::path exe;
    std::error_code ec;
#ifdef _WIN32
    wchar_t buffer[32768];
    DWORD n = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
    if (n == 0) return {};
    exe = std::filesystem::path(std::wstring(buffer, n));
#else
    exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
#endif
    return pathText(exe.parent_path());
}

}  // namespace mirudana
