// Folder layout of the tool, all relative to the folder that holds the program.
#pragma once

#include <string>

namespace mirudana {

// The platform's own path separator.
#ifdef _WIN32
inline constexpr char kDirSep = '\\';
#else
inline constexpr char kDirSep = '/';
#endif

// `path` with one separator added unless it already ends with one
// (so an empty path gives the bare separator).
std::string AddDirSep(const std::string& path);

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

// The folder of the running executable, without a trailing separator unless it
// is a root. Empty when the platform cannot tell.
std::string programFolder();

}  // namespace mirudana
