// The battle files of a folder, as a folder added to the window's list and a
// followed folder take them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace mirudana {

// The ".kvs" files (letter case ignored, hidden ones left out: copies from a Mac
// leave a hidden "._" file beside each) of `folder`, with `recursive` those of its
// sub-folders too, in name order; unreadable sub-folders are passed over. At most
// `limit` of them; none when the folder is missing.
std::vector<std::string> battleFilesIn(const std::string& folder, bool recursive,
                                       std::size_t limit);

}  // namespace mirudana
