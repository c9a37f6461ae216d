#include "cli/battle_arguments.h"

#include "battle/battle_folder.h"

namespace mirudana::cli {
namespace {

// Longer than any path a file system accepts.
constexpr std::size_t kMaxLineBytes = 1 << 16;

}  // namespace

void addBattleArgument(const std::string& argument, bool recursive, std::size_t limit,
                       std::vector<std::string>& entries) {
    if (entries.size() >= limit) return;
    std::vector<std::string> files;
    if (isFolder(argument)) files = battleFilesIn(argument, recursive, limit - entries.size());
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
