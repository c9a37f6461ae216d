#include "report/script_check.h"

#include "report/query_vocabulary.h"
#include "report/script_host.h"
#include "ttscript/host_literals.h"

namespace mirudana {
namespace {

using Kind = ttscript::HostLiteral::Kind;

// A text for kTargetItem that selects the server side only because it is not
// kClientSide. Numbers choose by their value (2 is the client), so they are meant.
bool selectsServerByMistake(const std::string& value) {
    if (value == kClientSide || value == kServerSide || value.empty()) return false;
    return value.find_first_not_of("0123456789.+- ") != std::string::npos;
}

// What is wrong with `literal`, or "" when nothing is.
std::string problemOf(const ttscript::HostLiteral& literal) {
    switch (literal.kind) {
        case Kind::Query:
            if (isKnownQueryKey(literal.text)) return "";
            return "不明なキー [" + literal.text + "] (\"True\" が返ります)";
        case Kind::SetItem:
            if (!isKnownSetDataItem(literal.text)) {
                return "不明な項目 [" + literal.text + "] (何もしません)";
            }
            if (literal.text == kTargetItem && literal.value &&
                selectsServerByMistake(*literal.value)) {
                return "[" + literal.text + "] = \"" + *literal.value + "\" は" + kServerSide +
                       "側を選びます (" + kClientSide + "側は \"" + kClientSide + "\")";
            }
            return "";
        case Kind::Command:
            if (isKnownCommand(literal.text)) return "";
            return "不明なコマンド \"" + literal.text + "\" (実行時エラーになります)";
    }
    return "";
}

}  // namespace

ScriptCheck checkScript(const std::string& scriptPath) {
    ttscript::HostLiteralScan scan = ttscript::scanHostLiterals(scriptPath);
    ScriptCheck check{scan.error, {}};
    for (const ttscript::HostLiteral& literal : scan.literals) {
        std::string problem = problemOf(literal);
        if (problem.empty()) continue;
        check.warnings.push_back(std::to_string(literal.line) + ":" +
                                 std::to_string(literal.column) + ": " + problem);
    }
    return check;
}

}  // namespace mirudana
