#include "ttscript/code.h"
#include "ttscript/stmt_code.h"

namespace ttscript {

ProgramCode compileProgram(Program& program) {
    ProgramCode code;
    code.globalCount = static_cast<std::size_t>(program.globalCount);
    // Every function has its place before any body is compiled, so a call can be
    // bound to the function it calls, whichever comes first.
    code.functions.resize(program.functions.size());
    for (std::size_t i = 0; i < program.functions.size(); ++i) {
        FunctionDef& fn = program.functions[i];
        FunctionCode& compiled = code.functions[i];
        compiled.localCount = static_cast<std::size_t>(fn.localCount);
        compiled.file = fn.file > 0 ? &program.files[static_cast<std::size_t>(fn.file)] : nullptr;
        compiled.body = compileBlock(fn.body, code.functions);
    }
    code.main = compileBlock(program.main, code.functions);
    return code;
}

}  // namespace ttscript
