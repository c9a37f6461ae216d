#include "cli/battle_arguments.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/native_path.h"

namespace mirudana::cli {
namespace {

namespace fs = std::filesystem;

// Longer than any path a file system accepts.
constexpr std::size_t kMaxLineBytes = 1 << 16;

bool isBattleFile(const fs::directory_entry& entry) {
    std::error_code ec;
    if (!entry.is_regular_file(ec)) return false;
    std::string extension = pathText(entry.path().extension());
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".kvs";
}

// The folder's battle files, sorted; unreadable sub-folders are passed over.
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

void addBattleArgument(const std::string& argument, bool recursive, std::size_t limit,
                       std::vector<std::string>& entries) {
    if (entries.size() >= limit) return;
    std::error_code ec;
    const fs::path path = nativePath(argument);
    std::vector<std::string> files;
    if (fs::is_directory(path, ec)) {
        const std::size_t room = limit - entries.size();
        files = recursive ? folderFiles<fs::recursive_directory_iterator>(path, room)
                          : folderFiles<fs::directory_iterator>(path, room);
    }
    if (files.empty()) {
        entries.push_back(argument);
    } else {
        entries.insert(entries.end(), files.begin(), files.end());
    }
}

bool readPathList(std::istream& in, std::size_t limit, std::vector<std::string>& paths) {
    std::string line;
    char c = 0;
    while (paths.size() < limit && in.get(c)) {
        if (c != '\n') {
            if (line.size() == kMaxLineBytes) return false;
            line += c;
            continue;
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) paths.push_back(line);
        line.clear();
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && paths.size() < limit) paths.push_back(line);
    return true;
}

}  // namespace mirudana::cli
