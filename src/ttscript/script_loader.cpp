#include "ttscript/script_loader.h"

#include <filesystem>
#include <new>

#include "platform/failure.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "ttscript/beside_files.h"
#include "ttscript/parser.h"
#include "ttscript/resolver.h"
#include "ttscript/script_failure.h"
#include "ttscript/script_imports.h"
#include "ttscript/source_text.h"

namespace ttscript {
namespace {

// Scripts are small; a larger file is surely not a script and is not read whole. Its
// syntax tree takes a few hundred bytes a statement, so the limit also bounds memory.
constexpr std::uintmax_t kMaxScriptBytes = std::uintmax_t{1} << 20;

// Only a regular file is read: a device or a pipe could give bytes without end, or
// none while the read waits for ever. The read itself stops past the limit, also
// for a file that grows meanwhile.
std::string readScript(const std::string& path) {
    std::error_code ec;
    auto status = std::filesystem::status(mirudana::nativePath(path), ec);
    if (!ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
        !std::filesystem::is_directory(status)) {
        throw ScriptFailure("スクリプトファイルを読めません: 通常のファイルではありません", {});
    }
    try {
        return mirudana::readWholeFile(path, kMaxScriptBytes);
    } catch (const mirudana::Failure& failure) {
        if (failure.number() == mirudana::failure::kOutOfMemory) {
            throw ScriptFailure("スクリプトファイルが大きすぎます（上限 1 MB）", {});
        }
        throw ScriptFailure(std::string("スクリプトファイルを読めません: ") + failure.what(), {});
    }
}

// The bytes read go once decoded, the text once parsed: the tree keeps copies of
// its names alone.
Program parseScriptFile(const std::string& path, const ParseProgress& progress) {
    std::string source = decodeScriptSource(readScript(path));
    return parseProgram(source, progress);
}

}  // namespace

Program loadProgram(const std::string& path, const ParseProgress& progress) {
    try {
        Program program = parseScriptFile(path, progress);
        program.folder = scriptFolderOf(path);
        program.files.push_back(scriptFileName(path));
        importFunctions(program, path);
        resolveProgram(program);
        return program;
    } catch (const std::bad_alloc&) {
        throw ScriptFailure(std::string(kRuntimeErrorPrefix) + "メモリが足りません", {});
    }
}

std::string scriptFileName(const std::string& path) {
    std::string name = mirudana::pathText(mirudana::nativePath(path).filename());
    return name.empty() ? path : name;
}

ScriptError scriptError(const std::string& path, std::string message, int line, int column) {
    return ScriptError{scriptFileName(path), line, column, std::move(message)};
}

ScriptError scriptError(const std::string& path, const ScriptFailure& failure) {
    return ScriptError{failure.file().empty() ? scriptFileName(path) : failure.file(),
                       failure.line(), failure.column(), failure.message()};
}

}  // namespace ttscript
