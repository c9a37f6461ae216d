#include "ttscript/beside_files.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "platform/failure.h"
#include "platform/file_system.h"
#include "platform/input_file.h"
#include "platform/native_path.h"
#include "platform/utf.h"
#include "ttscript/run_memory.h"

namespace ttscript {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void refuse(const std::string& reason) { throw BesideFileRefused(reason); }

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// Names Windows opens as devices whatever their extension ("nul.txt"); refused on
// every platform so a script behaves the same everywhere.
bool isDeviceName(std::string_view name) {
    std::string stem = lowerAscii(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    constexpr std::array kDevices{"con", "prn", "aux", "nul", "conin$", "conout$"};
    if (std::find(kDevices.begin(), kDevices.end(), stem) != kDevices.end()) return true;
    return stem.size() == 4 && (stem.starts_with("com") || stem.starts_with("lpt")) &&
           stem[3] >= '0' && stem[3] <= '9';
}

bool hasAllowedExtension(std::string_view name, BesideKind kind) {
    std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return false;
    std::string extension = lowerAscii(name.substr(dot));
    if (kind == BesideKind::Script) return extension == ".tts";
    constexpr std::array kPageText{".tts", ".css", ".js", ".html", ".txt", ".json"};
    return std::find(kPageText.begin(), kPageText.end(), extension) != kPageText.end();
}

std::string allowedExtensionsText(BesideKind kind) {
    return kind == BesideKind::Script
               ? "読み込めるのは .tts のファイルだけです"
               : "読めるのは .tts .css .js .html .txt .json のファイルだけです";
}

// The folders and name of `relative`, checked as written.
fs::path checkedRelativePath(std::string_view relative, BesideKind kind) {
    if (relative.empty()) refuse("ファイル名が空です");
    if (relative.front() == '/' || relative.front() == '\\' ||
        relative.find(':') != std::string_view::npos) {
        refuse(
            "絶対パスやドライブ名は使えません（スクリプトのフォルダーからの相対パスで書きます）");
    }
    fs::path path;
    std::string_view name;
    for (std::size_t from = 0; from <= relative.size();) {
        std::size_t end = relative.find_first_of("/\\", from);
        if (end == std::string_view::npos) end = relative.size();
        name = relative.substr(from, end - from);
        from = end + 1;
        if (name == "..") refuse("「..」でスクリプトのフォルダーの外へは出られません");
        // A control character (a NUL above all) would cut the name the system sees.
        bool control = std::any_of(name.begin(), name.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x20; });
        if (name.empty() || name == "." || control) refuse("パスの書き方が正しくありません");
        if (name.front() == '.')
            refuse("隠しファイルや隠しフォルダー（. で始まる名前）は読めません");
        if (isDeviceName(name)) refuse("デバイス名は使えません");
        path /= mirudana::nativePath(name);
    }
    if (!hasAllowedExtension(name, kind)) refuse(allowedExtensionsText(kind));
    return path;
}

// `target` with every link followed, refused unless it lies inside `folder` (itself
// resolved) under names that are not hidden and with an allowed extension.
fs::path resolvedInside(const fs::path& folder, const fs::path& target, BesideKind kind) {
    std::error_code ec;
    fs::path resolved = mirudana::resolvedPath(target, ec);
    if (ec) {
        if (!fs::exists(fs::symlink_status(target, ec))) refuse("ファイルがありません");
        refuse("ファイルをたどれません");
    }
    auto [inFolder, inTarget] =
        std::mismatch(folder.begin(), folder.end(), resolved.begin(), resolved.end());
    if (inFolder != folder.end()) refuse("リンクの先がスクリプトのフォルダーの外です");
    for (auto it = inTarget; it != resolved.end(); ++it) {
        if (mirudana::pathText(*it).starts_with('.')) {
            refuse("リンクの先が隠しファイルか隠しフォルダーです");
        }
    }
    if (!hasAllowedExtension(mirudana::pathText(resolved.filename()), kind)) {
        refuse("リンクの先の種類は読めません（" + allowedExtensionsText(kind) + "）");
    }
    return resolved;
}

std::string readBounded(const std::string& path) {
    if (!mirudana::isOrdinaryFile(path)) refuse("通常のファイルではありません");
    try {
        mirudana::InputFile file(path);
        if (file.size() > kMaxBesideFileBytes) refuse("ファイルが大きすぎます（上限 1 MB）");
        auto size = static_cast<std::size_t>(file.size());
        checkMemoryFor(size);
        std::string bytes(size, '\0');
        bytes.resize(file.read(bytes.data(), size));
        return bytes;
    } catch (const mirudana::Failure& failure) {
        refuse(std::string("ファイルを読めません: ") + failure.what());
    }
}

}  // namespace

BesideFile readBesideFile(const std::string& scriptFolder, std::string_view relative,
                          BesideKind kind) {
    fs::path written = checkedRelativePath(relative, kind);
    std::error_code ec;
    fs::path folder = mirudana::resolvedPath(mirudana::nativePath(scriptFolder), ec);
    if (ec) refuse("スクリプトのフォルダーが見つかりません");
    std::string path = mirudana::pathText(resolvedInside(folder, folder / written, kind));
    return BesideFile{path, readBounded(path)};
}

std::string besideFileText(std::string bytes) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    // The place a message gives is the byte's in the file, the mark included.
    const std::size_t mark =
        std::string_view(bytes).starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    for (std::size_t i = mark; i < bytes.size();) {
        const std::size_t at = i;
        if (mirudana::decodeUtf8(bytes, i) == mirudana::kReplacement && i - at == 1) {
            refuse("UTF-8 のテキストではありません（" + std::to_string(at + 1) + " バイト目）");
        }
    }
    bytes.erase(0, mark);
    return bytes;
}

std::string scriptFolderOf(const std::string& scriptPath) {
    return mirudana::pathText(
        mirudana::fullNativePath(mirudana::nativePath(scriptPath)).parent_path());
}

}  // namespace ttscript
