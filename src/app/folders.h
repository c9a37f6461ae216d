// The tool's folder layout, all relative to the folder that holds the program.
#pragma once

#include <string>

namespace mirudana {

// The default report script and report, both in the program folder.
inline constexpr const char* kDefaultScriptName = "engine.tts";
inline constexpr const char* kDefaultReportName = "出力データ.html";

// The reference-data folders; each ends with the separator.
struct Folders {
    std::string SystemFolder;
    std::string CardFolder;
    std::string StateFolder;
};

Folders computeFolders(const std::string& programFolder);

}  // namespace mirudana
