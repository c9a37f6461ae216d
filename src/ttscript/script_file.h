// Reading a script file, shared by running it and by listing its host names.
#pragma once

#include <string>

#include "ttscript/syntax_tree.h"

namespace ttscript {

// The file name of `path`, as messages show it.
std::string fileNameOf(const std::string& path);

// Reads, decodes, parses and resolves the script at `path`. Throws ScriptFailure
// on a file that cannot be read or a syntax error.
Program loadProgram(const std::string& path);

}  // namespace ttscript
