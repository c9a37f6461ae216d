#include "battle/battle_folder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/native_path.h"

namespace mirudana {
namespace {

namespace fs = std::filesystem;

bool isBattleFile(const fs::directory_entry& entry) {
    std::error_code ec;
    if (!entry.is_regular_file(ec)) return false;
    std::string extension = pathText(entry.path().extension());
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".kvs";
}

template <typename Iterator>
std::vector<std::string> folderFiles(const fs::path& folder, std::size_t limit) {
    std::vector<std::string> found;
    std::error_code ec;
    Iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != Iterator() && found.size() < limit; it.increment(ec)) {
        if (isBattleFile(*it)) found.push_back(pathText(it->path()));
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

bool isFolder(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(nativePath(path), ec);
}

std::vector<std::string> battleFilesIn(const std::string& folder, bool recursive,
                                       std::size_t limit) {
    const fs::path path = nativePath(folder);
    return recursive ? folderFiles<fs::recursive_directory_iterator>(path, limit)
                     : folderFiles<fs::directory_iterator>(path, limit);
}

}  // namespace mirudana
