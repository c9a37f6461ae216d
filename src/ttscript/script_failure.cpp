#include "ttscript/script_failure.h"

namespace ttscript {
namespace {

thread_local const SourcePosition* runPosition = nullptr;

SourcePosition here() { return runPosition ? *runPosition : SourcePosition{}; }

}  // namespace

RunPositionScope::RunPositionScope(const SourcePosition& where) : outer_(runPosition) {
    runPosition = &where;
}

RunPositionScope::~RunPositionScope() { runPosition = outer_; }

std::string shownText(std::string_view text) {
    constexpr std::size_t kShownBytes = 40;
    if (text.size() <= kShownBytes) return std::string(text);
    std::size_t end = kShownBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return std::string(text.substr(0, end)) + "…";
}

void throwRuntimeError(const std::string& what) {
    throw ScriptFailure(kRuntimeErrorPrefix + what, here());
}

void throwStopped() {
    throw ScriptStopped(std::string(kRuntimeErrorPrefix) + "中断されました", here());
}

}  // namespace ttscript
