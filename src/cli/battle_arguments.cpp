#include "cli/battle_arguments.h"

#include <algorithm>

#include "platform/file_system.h"
#include "platform/folder_listing.h"
#include "platform/paths.h"

namespace mirudana::cli {
namespace {

// Adds the battle files of `folder` (and, with `recursive`, of its sub-folders) to
// `found`, until it holds `limit`.
void collect(const std::string& folder, bool recursive, std::size_t limit,
             std::vector<std::string>& found, FolderNotes& notes) {
    std::vector<FolderEntry> entries;
    if (!readFolder(folder, entries)) notes.unreadable.push_back(folder);
    const std::string prefix = AddDirSep(folder);
    for (const FolderEntry& entry : entries) {
        if (found.size() >= limit) return;
        if (entry.isFile && !entry.isHidden && endsWithIgnoringCase(entry.name, ".kvs")) {
            found.push_back(prefix + entry.name);
        } else if (entry.isFolder && recursive) {
            collect(prefix + entry.name, recursive, limit, found, notes);
        }
    }
}

}  // namespace

void addBattleArgument(const std::string& argument, bool recursive, std::size_t limit,
                       std::vector<std::string>& entries, FolderNotes& notes) {
    if (entries.size() >= limit) return;
    if (!isFolder(argument)) {
        entries.push_back(argument);
        return;
    }
    std::vector<std::string> files;
    const std::size_t unreadableBefore = notes.unreadable.size();
    collect(argument, recursive, limit - entries.size(), files, notes);
    std::sort(files.begin(), files.end());
    if (files.empty() && notes.unreadable.size() == unreadableBefore) {
        notes.withoutBattles.push_back(argument);
    }
    entries.insert(entries.end(), files.begin(), files.end());
}

std::string folderWarning(const FolderNotes& notes) {
    std::string text;
    auto name = [&text](const char* what, const std::vector<std::string>& folders) {
        if (folders.empty()) return;
        if (!text.empty()) text += '\n';
        text += what;
        for (const std::string& folder : folders) text += '\n' + folder;
    };
    name("戦況ファイル (.kvs) のないフォルダーです。", notes.withoutBattles);
    name("開けなかったフォルダーです (中の戦況ファイルは使われていません)。", notes.unreadable);
    return text;
}

}  // namespace mirudana::cli
