// Our own reader and writer of private-profile (INI) files that gives the results of
// the platform's ANSI profile functions: the file is code page 932, section and key
// names match without regard to letter case, and the first matching section and the
// first matching key in it count. Names and values are UTF-8 text here.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mirudana {

// The value under `key` in the first section named `section` of the file whose
// bytes are `content`, with the blanks and one pair of enclosing quotes removed, cut
// to `bufferSize` - 1 bytes of code page 932 without splitting a double-byte
// character and at its first NUL. Empty when the section or key is missing.
std::string privateProfileString(std::string_view content, const std::string& section,
                                 const std::string& key, std::size_t bufferSize = 256);

// Stores `value` under `key` in `section`: replaces the value of the first matching
// key in place, or adds the key at the end of the section, or the section (with the
// key) at the end of the file, creating the file when it is missing. Every other line
// stays as it was. False when the file cannot be read or written, a read-only file
// included; a failed write leaves the old file as it was.
bool writePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& fileName);

}  // namespace mirudana
