// Battle file arguments as the run's list: folders give their ".kvs" files, and a
// list file gives one path a line.
#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <vector>

namespace mirudana::cli {

// Appends `argument` to `entries`, or, for a folder, its ".kvs" files in name order
// (with `recursive`, those of its sub-folders too). A folder that gives none, and a
// path that does not exist, are appended as they are, so the run names them among
// the files it skipped. Stops once `entries` holds `limit` paths.
void addBattleArgument(const std::string& argument, bool recursive, std::size_t limit,
                       std::vector<std::string>& entries);

// The paths of a list file, one a line (UTF-8; CR LF or LF; blank lines skipped).
// Reading stops once `limit` paths have been read. False when a line is longer than
// any path can be.
bool readPathList(std::istream& in, std::size_t limit, std::vector<std::string>& paths);

}  // namespace mirudana::cli
