// The file title of a battle file's path: its file name with the extension,
// without the folders, as the list sort compares it.
#pragma once

#include <string>

namespace mirudana {

// The part after the last "\", "/" or ":" that is followed by a character other
// than "\" and "/" (the whole path when there is none), found by scanning the
// path's code page 932 form a character at a time so that the second byte of a
// double-byte character never counts as a separator. At most 261 bytes of it are
// kept; a double-byte character that the cut would split is left out whole.
// The title passes through code page 932, so characters the code page lacks
// show as "?". An empty path gives an empty title.
std::string Path2FileTitle(const std::string& path);

}  // namespace mirudana
