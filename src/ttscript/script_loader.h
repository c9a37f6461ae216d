// Reads a script file and checks it whole: the part of a run before anything runs,
// shared by RunScript and the static check of host literals.
#pragma once

#include <string>

#include "ttscript/engine.h"
#include "ttscript/parser.h"
#include "ttscript/script_failure.h"
#include "ttscript/syntax_tree.h"

namespace ttscript {

// Reads, decodes, parses and resolves the script at `path`, telling `progress` now
// and then how far parsing has come. Throws ScriptFailure: an unreadable or
// oversized file, or anything but a regular file (without a line), a syntax error,
// or memory run out.
Program loadProgram(const std::string& path, const ParseProgress& progress = {});

// The file name messages show for the script at `path`.
std::string scriptFileName(const std::string& path);

// `message` (with its position, if any) as the error of the script at `path`.
ScriptError scriptError(const std::string& path, std::string message, int line = 0, int column = 0);

// `failure` as the error of the script at `path`, in the imported file it names if any.
ScriptError scriptError(const std::string& path, const ScriptFailure& failure);

}  // namespace ttscript
