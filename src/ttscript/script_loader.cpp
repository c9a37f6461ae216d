#include "ttscript/script_loader.h"

#include <filesystem>

#include "platform/failure.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "ttscript/beside_files.h"
#include "ttscript/lexer.h"
#include "ttscript/parser.h"
#include "ttscript/resolver.h"
#include "ttscript/script_failure.h"
#include "ttscript/script_imports.h"
#include "ttscript/source_text.h"

namespace ttscript {
namespace {

// Scripts are small; a larger file is surely not a script and is not read whole. Its
// syntax tree takes about a kilobyte a statement, so the limit also bounds memory.
constexpr std::uintmax_t kMaxScriptBytes = std::uintmax_t{1} << 20;

std::string readScript(const std::string& path) {
    std::error_code ec;
    auto size = std::filesystem::file_size(mirudana::nativePath(path), ec);
    if (!ec && size > kMaxScriptBytes) {
        throw ScriptFailure("スクリプトファイルが大きすぎます（上限 1 MB）", {});
    }
    try {
        return mirudana::readWholeFile(path);
    } catch (const mirudana::Failure& failure) {
        throw ScriptFailure(std::string("スクリプトファイルを読めません: ") + failure.what(), {});
    }
}

}  // namespace

Program loadProgram(const std::string& path) {
    std::string source = decodeScriptSource(readScript(path));
    Program program = parseProgram(tokenize(source), source);
    program.folder = scriptFolderOf(path);
    program.files.push_back(scriptFileName(path));
    importFunctions(program, path);
    resolveProgram(program);
    return program;
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
