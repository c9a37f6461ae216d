#include "report/script_check.h"

#include "report/query_vocabulary.h"
#include "report/script_host.h"
#include "ttscript/beside_files.h"
#include "ttscript/host_literals.h"
#include "ttscript/script_failure.h"

namespace mirudana {
namespace {

using Kind = ttscript::HostLiteral::Kind;

// A text for kTargetItem that selects the server side only because it is not
// kClientSide. Numbers choose by their value (2 is the client), so they are meant.
bool selectsServerByMistake(const std::string& value) {
    if (value == kClientSide || value == kServerSide || value.empty()) return false;
    return value.find_first_not_of("0123456789.+- ") != std::string::npos;
}

// A text for kEncodingItem that means UTF-8 to its writer ("utf-8", "UTF8") but
// asks for code page 932 because it is not exactly kUtf8Encoding.
bool asksCp932ByMistake(const std::string& value) {
    std::string folded;
    for (char c : value) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != '-' && c != '_' && c != ' ') folded += c;
    }
    return value != kUtf8Encoding && folded == "UTF8";
}

// Why ReadText could not read `name` beside the script in `folder`, or "".
std::string besideFileProblem(const std::string& folder, const std::string& name) {
    try {
        ttscript::besideFileText(
            ttscript::readBesideFile(folder, name, ttscript::BesideKind::PageText).bytes);
        return "";
    } catch (const ttscript::BesideFileRefused& refused) {
        return "ReadText(\"" + ttscript::shownText(name) + "\") を読めません: " + refused.what() +
               " (実行時エラーになります)";
    }
}

// What is wrong with `literal` in a script in `folder`, or "" when nothing is.
std::string problemOf(const ttscript::HostLiteral& literal, const std::string& folder) {
    switch (literal.kind) {
        case Kind::Query:
            if (isKnownQueryKey(literal.text)) return "";
            return "不明なキー [" + ttscript::shownText(literal.text) + "] (\"True\" が返ります)";
        case Kind::SetItem:
            if (!isKnownSetDataItem(literal.text)) {
                return "不明な項目 [" + ttscript::shownText(literal.text) + "] (何もしません)";
            }
            if (literal.text == kTargetItem && literal.value &&
                selectsServerByMistake(*literal.value)) {
                return "[" + literal.text + "] = \"" + ttscript::shownText(*literal.value) +
                       "\" は" + kServerSide + "側を選びます (" + kClientSide + "側は \"" +
                       kClientSide + "\")";
            }
            if (literal.text == kEncodingItem && literal.value &&
                asksCp932ByMistake(*literal.value)) {
                return "[" + literal.text + "] = \"" + ttscript::shownText(*literal.value) +
                       "\" は Shift_JIS で書きます (UTF-8 は \"" + kUtf8Encoding + "\")";
            }
            return "";
        case Kind::Command:
            if (isKnownCommand(literal.text)) return "";
            return "不明なコマンド \"" + ttscript::shownText(literal.text) +
                   "\" (実行時エラーになります)";
        case Kind::BesideFile:
            return besideFileProblem(folder, literal.text);
    }
    return "";
}

// The first loop that asks kFileLoadedKey when no RunCmd can send kLoadCommand: its
// answer never changes, so the loop runs until it is cancelled.
const ttscript::HostLiteral* loopWithoutLoading(const ttscript::HostLiteralScan& scan) {
    if (scan.someVerbNotLiteral) return nullptr;
    const ttscript::HostLiteral* loop = nullptr;
    for (const ttscript::HostLiteral& literal : scan.literals) {
        if (literal.kind == Kind::Command && literal.text == kLoadCommand) return nullptr;
        if (!loop && literal.kind == Kind::Query && literal.inLoop &&
            literal.text == kFileLoadedKey) {
            loop = &literal;
        }
    }
    return loop;
}

std::string placed(const ttscript::HostLiteral& literal, const std::string& problem) {
    std::string file = literal.file.empty() ? "" : literal.file + ":";
    return file + std::to_string(literal.line) + ":" + std::to_string(literal.column) + ": " +
           problem;
}

ScriptCheck checkScan(const ttscript::HostLiteralScan& scan, const std::string& scriptPath) {
    ScriptCheck check{scan.error, {}};
    const std::string folder = ttscript::scriptFolderOf(scriptPath);
    for (const ttscript::HostLiteral& literal : scan.literals) {
        std::string problem = problemOf(literal, folder);
        if (!problem.empty()) check.warnings.push_back(placed(literal, problem));
    }
    if (const ttscript::HostLiteral* loop = loopWithoutLoading(scan)) {
        check.warnings.push_back(placed(
            *loop, "ループで [" + std::string(kFileLoadedKey) + "] を読んでいますが、RunCmd(\"" +
                       std::string(kLoadCommand) + "\") がありません (ループが終わりません)"));
    }
    return check;
}

}  // namespace

std::string warningLine(const std::string& scriptPath, const std::string& warning) {
    // The script's own start with the line number; an imported file's name ends in
    // ".tts", so it is never digits alone.
    bool own = warning.find_first_not_of("0123456789") == warning.find(':');
    return own ? scriptPath + ":" + warning : warning;
}

ScriptCheck checkScript(const std::string& scriptPath) {
    return checkScan(ttscript::scanHostLiterals(scriptPath), scriptPath);
}

ScriptCheck checkLoadedScript(const ttscript::TTSA& engine) {
    return checkScan(ttscript::scanHostLiterals(engine), engine.LoadedPath());
}

}  // namespace mirudana
