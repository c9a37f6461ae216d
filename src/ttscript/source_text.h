// Turns the bytes of a script file into the UTF-8 text the lexer reads.
#pragma once

#include <string>
#include <string_view>

namespace ttscript {

// Valid UTF-8 (a leading byte order mark is dropped) is taken as is; anything else
// is read as code page 932.
std::string decodeScriptSource(std::string_view bytes);

}  // namespace ttscript
