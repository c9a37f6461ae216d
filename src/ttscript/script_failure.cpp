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

void throwRuntimeError(const std::string& what) {
    throw ScriptFailure(kRuntimeErrorPrefix + what, here());
}

void throwStopped() {
    throw ScriptStopped(std::string(kRuntimeErrorPrefix) + "中断されました", here());
}

}  // namespace ttscript
