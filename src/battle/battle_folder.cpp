#include "battle/battle_folder.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "platform/file_system.h"
#include "platform/native_path.h"

namespace mirudana {
namespace {

namespace fs = std::filesystem;

// A ".kvs" name (letter case ignored), told from the path's text alone; a follow
// rescan lists many files, and this costs no conversion of the path.
bool isBattleFile(const fs::directory_entry& entry, const std::string& text) {
    constexpr std::string_view kSuffix = ".kvs";
    if (text.size() <= kSuffix.size() || !endsWithIgnoringCase(text, std::string(kSuffix))) {
        return false;
    }
    const char before = text[text.size() - kSuffix.size() - 1];
    std::error_code ec;
    return before != '/' && before != '\\' && entry.is_regular_file(ec);
}

template <typename Iterator>
std::vector<std::string> folderFiles(const fs::path& folder, std::size_t limit) {
    std::vector<std::string> found;
    std::error_code ec;
    Iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != Iterator() && found.size() < limit; it.increment(ec)) {
        std::string text = pathText(it->path());
        if (isBattleFile(*it, text)) found.push_back(std::move(text));
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
