// The check a script gets before each run and from `mirudana-cli --check`: literal
// keys, items and commands the host does not know, a side chosen by a text that
// only selects the server because it is not "クライアント", an encoding spelt like
// "utf-8" that asks for code page 932 because it is not "UTF-8", and a loop waiting on
// "ファイル有無" in a script that never sends "ロード". The run itself is not
// changed by them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ttscript/engine.h"

namespace mirudana {

struct ScriptCheck {
    std::optional<ttscript::ScriptError> error;  // the script does not parse
    // "line:column: what" in the script, then "file:line:column: what" in the files
    // it imports (named as the Import names them), each in source order.
    std::vector<std::string> warnings;
};

// A warning of ScriptCheck as a line that names its file: `scriptPath` for the
// script's own.
std::string warningLine(const std::string& scriptPath, const std::string& warning);

ScriptCheck checkScript(const std::string& scriptPath);

// The same for the script `engine` has loaded, without reading it again.
ScriptCheck checkLoadedScript(const ttscript::TTSA& engine);

}  // namespace mirudana
