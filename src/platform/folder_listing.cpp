#include "platform/folder_listing.h"

#include "platform/native_path.h"
#include "platform/paths.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <filesystem>
#endif

namespace mirudana {

#ifdef _WIN32
bool readFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    WIN32_FIND_DATAW found;
    HANDLE search =
        FindFirstFileExW(nativePath(AddDirSep(folder) + "*").c_str(), FindExInfoBasic, &found,
                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const DWORD attributes = found.dwFileAttributes;
        const bool folderLike = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entries.push_back({pathText(std::filesystem::path(name)),
                           folderLike && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0,
                           !folderLike && (attributes & FILE_ATTRIBUTE_DEVICE) == 0,
                           (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0});
    } while (FindNextFileW(search, &found));
    const bool complete = GetLastError() == ERROR_NO_MORE_FILES;
    FindClose(search);
    return complete;
}
#else
bool readFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::directory_iterator it(nativePath(folder), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code typeError;
        std::string name = pathText(it->path().filename());
        const bool hidden = name.starts_with('.');
        entries.push_back({std::move(name),
                           it->is_directory(typeError) && !it->is_symlink(typeError),
                           it->is_regular_file(typeError), hidden});
    }
    return !ec;
}
#endif

}  // namespace mirudana
