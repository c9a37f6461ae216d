// A battle file at the end of a chain of folders whose path is longer than the
// 260 characters Windows once allowed, made one folder at a time.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/native_path.h"
#include "platform/paths.h"

namespace mirudana::testing {

// Writes `bytes` as `name` eight folders of 40 Japanese characters below `top`
// (which must exist); returns the file's path.
inline std::string writeAtLongPath(const std::string& top, const std::string& name,
                                   std::string_view bytes) {
    std::string path = top;
    for (char digit = '1'; digit <= '8'; ++digit) {
        path =
            AddDirSep(path) +
            "とても深いフォルダーの名前をつけておきますとても深いフォルダーの名前をつけておきます" +
            digit;
        std::filesystem::create_directory(nativePath(path));
    }
    path = AddDirSep(path) + name;
    std::ofstream(nativePath(path), std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

}  // namespace mirudana::testing
