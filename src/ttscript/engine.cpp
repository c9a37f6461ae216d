#include "ttscript/engine.h"

#include <atomic>
#include <exception>
#include <filesystem>

#include "app/failure.h"
#include "app/file_system.h"
#include "app/native_path.h"
#include "ttscript/interpreter.h"
#include "ttscript/lexer.h"
#include "ttscript/parser.h"
#include "ttscript/resolver.h"
#include "ttscript/script_failure.h"
#include "ttscript/script_file.h"
#include "ttscript/source_text.h"

namespace ttscript {
namespace {

constexpr const char* kVersion = "1.00.0000";

// Scripts are small; a larger file is surely not a script and is not read whole. Its
// syntax tree takes about a kilobyte a statement, so the limit also bounds memory.
constexpr std::uintmax_t kMaxScriptBytes = std::uintmax_t{1} << 20;

std::string readScript(const std::string& path) {
    std::error_code ec;
    auto size = std::filesystem::file_size(mirudana::nativePath(path), ec);
    if (!ec && size > kMaxScriptBytes) {
        throw ScriptFailure("スクリプトファイルが大きすぎます（上限 1 MB）");
    }
    try {
        return mirudana::readWholeFile(path);
    } catch (const mirudana::Failure& failure) {
        throw ScriptFailure("スクリプトファイルを読めません: " +
                            mirudana::failureDescription(failure.number()));
    }
}

}  // namespace

std::string fileNameOf(const std::string& path) {
    std::string name = mirudana::pathText(mirudana::nativePath(path).filename());
    return name.empty() ? path : name;
}

Program loadProgram(const std::string& path) {
    std::string source = decodeScriptSource(readScript(path));
    Program program = parseProgram(tokenize(source), source);
    resolveProgram(program);
    return program;
}

std::string ScriptError::describe() const {
    std::string text = file;
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on "literal" + string.
    if (line > 0) text.append(":").append(std::to_string(line));
    if (line > 0 && column > 0) text.append(":").append(std::to_string(column));
    return text.append(": ").append(message);
}

struct TTSA::Impl {
    EngineEvents* events;
    std::atomic<bool> stopRequested{false};
    bool running = false;
};

TTSA::TTSA(EngineEvents* events) : impl_(std::make_unique<Impl>()) { impl_->events = events; }

TTSA::~TTSA() = default;

std::string TTSA::GetInfo(const std::string& key, const std::string& argument) const {
    return key == "バージョン" && argument == "0" ? kVersion : "";
}

RunOutcome TTSA::RunScript(const std::string& path, std::int32_t& n1, std::int32_t& n2) {
    (void)n1, (void)n2;
    RunOutcome outcome;
    ScriptError error;
    error.file = fileNameOf(path);
    if (impl_->running) {
        error.message = "スクリプトの実行中に RunScript は呼べません";
        outcome.error = error;
        return outcome;
    }
    impl_->running = true;
    impl_->stopRequested = false;
    try {
        Program program = loadProgram(path);
        Interpreter(program, impl_->events, impl_->stopRequested).run();
        outcome.completed = true;
    } catch (const ScriptFailure& failure) {
        error.line = failure.line(), error.column = failure.column();
        error.message = failure.message();
        outcome.stopped = dynamic_cast<const ScriptStopped*>(&failure) != nullptr;
    } catch (const std::bad_alloc&) {
        error.message = "実行時エラー: メモリが足りません";
    } catch (const std::exception& e) {
        error.message = std::string("実行時エラー: ") + e.what();
    }
    impl_->running = false;
    if (!outcome.completed) outcome.error = error;
    return outcome;
}

void TTSA::RequestStop() { impl_->stopRequested = true; }

}  // namespace ttscript
