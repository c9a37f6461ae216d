// Battle file arguments as the run's list: folders give their ".kvs" files.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace mirudana::cli {

// The folders an argument gave no battle files from, for the warning after the run.
struct FolderNotes {
    std::vector<std::string> withoutBattles;  // read, but holding no ".kvs" file
    std::vector<std::string> unreadable;      // a folder (or sub-folder) that could not be read
};

// Appends `argument` to `entries`, or, for a folder, its ".kvs" files in name order
// (with `recursive`, those of its sub-folders too). A path that does not exist is
// appended as it is, so the run names it among the files it skipped; a folder
// that gives none, and every folder that cannot be read, go to `notes`. Stops once
// `entries` holds `limit` paths.
void addBattleArgument(const std::string& argument, bool recursive, std::size_t limit,
                       std::vector<std::string>& entries, FolderNotes& notes);

// The warning that names the folders of `notes`; empty when there are none.
std::string folderWarning(const FolderNotes& notes);

}  // namespace mirudana::cli
