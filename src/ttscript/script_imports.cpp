#include "ttscript/script_imports.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <vector>

#include "platform/file_system.h"
#include "platform/native_path.h"
#include "ttscript/beside_files.h"
#include "ttscript/parser.h"
#include "ttscript/script_failure.h"
#include "ttscript/source_text.h"

namespace ttscript {
namespace {

// "lib\x.tts" as "lib/x.tts": one name for messages whatever the separator.
std::string fileNameOf(std::string written) {
    std::replace(written.begin(), written.end(), '\\', '/');
    return written;
}

class Importer {
  public:
    Importer(Program& program, const std::string& scriptPath) : program_(program) {
        std::error_code ec;
        auto self = mirudana::resolvedPath(mirudana::nativePath(scriptPath), ec);
        chain_.push_back(ec ? scriptPath : mirudana::pathText(self));
    }

    // Imports what file number `from` names in `imports`, depth first.
    void importAll(const std::vector<ImportLine>& imports, int from) {
        for (const ImportLine& line : imports) importOne(line, from);
    }

  private:
    [[noreturn]] void fail(const std::string& what, const ImportLine& at, int file) const {
        const std::string* name =
            file > 0 ? &program_.files[static_cast<std::size_t>(file)] : nullptr;
        throw ScriptFailure(kSyntaxErrorPrefix + what, {at.line, at.column, name});
    }

    void importOne(const ImportLine& line, int from) {
        BesideFile read;
        try {
            read = readBesideFile(program_.folder, line.path, BesideKind::Script);
        } catch (const BesideFileRefused& refused) {
            fail("Import \"" + line.path + "\" を読めません: " + refused.what(), line, from);
        }
        if (auto cycle = std::find(chain_.begin(), chain_.end(), read.path);
            cycle != chain_.end()) {
            std::string names;
            for (auto it = cycle; it != chain_.end(); ++it) names += nameOf(*it) + " → ";
            fail("Import が循環しています: " + names + fileNameOf(line.path), line, from);
        }
        if (loaded_.contains(read.path)) return;
        if (static_cast<int>(program_.files.size()) > kMaxImportedFiles) {
            fail("Import できるのは " + std::to_string(kMaxImportedFiles) + " ファイルまでです",
                 line, from);
        }
        const int file = static_cast<int>(program_.files.size());
        program_.files.push_back(fileNameOf(line.path));
        program_.importedPaths.push_back(read.path);
        loaded_.emplace(read.path, file);
        Program imported = parseImported(read.bytes, file);
        for (FunctionDef& fn : imported.functions) {
            fn.file = file;
            program_.functions.push_back(std::move(fn));
        }
        program_.names.adopt(std::move(imported.names));
        chain_.push_back(read.path);
        importAll(imported.imports, file);
        chain_.pop_back();
    }

    // The file's syntax tree, its errors placed in it; only functions and imports.
    Program parseImported(const std::string& bytes, int file) const {
        const std::string* name = &program_.files[static_cast<std::size_t>(file)];
        Program imported;
        try {
            imported = parseProgram(decodeScriptSource(bytes));
        } catch (const ScriptFailure& failure) {
            throw ScriptFailure(failure.message(), {failure.line(), failure.column(), name});
        }
        if (!imported.main.empty()) {
            const Stmt& stray = imported.main.front();
            throw ScriptFailure(
                std::string(kSyntaxErrorPrefix) +
                    "Import するファイルに書けるのは Function、Import とコメントだけです",
                {stray.line, stray.column, name});
        }
        return imported;
    }

    // The name messages give the file at `path` on the chain.
    std::string nameOf(const std::string& path) const {
        auto it = loaded_.find(path);
        return program_.files[it == loaded_.end() ? 0 : static_cast<std::size_t>(it->second)];
    }

    Program& program_;
    std::map<std::string, int> loaded_;  // resolved path -> index in program_.files
    std::vector<std::string> chain_;     // resolved paths from the script to the file importing
};

}  // namespace

void importFunctions(Program& program, const std::string& scriptPath) {
    if (program.imports.empty()) return;
    Importer(program, scriptPath).importAll(program.imports, 0);
}

}  // namespace ttscript
