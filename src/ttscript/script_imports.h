// Import "file.tts": the functions of other scripts beside this one, made part of it
// before its names are bound.
#pragma once

#include <string>

#include "ttscript/syntax_tree.h"

namespace ttscript {

// The most files one script may import, directly or through the files it imports.
inline constexpr int kMaxImportedFiles = 64;

// Reads the files `program`'s Import lines name, and the files those import, and
// appends their functions to `program.functions`, each marked with its file.
// `program.folder` and `program.files[0]` must be set; `scriptPath` is the script's
// own file. A file imported again is skipped; a file that imports itself through
// others, a file that holds anything but functions, comments and Import lines, or
// one ReadText's rules refuse (.tts only) is a syntax error (ScriptFailure) placed
// in the file and at the line where it arose.
void importFunctions(Program& program, const std::string& scriptPath);

}  // namespace ttscript
