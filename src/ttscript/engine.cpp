#include "ttscript/engine.h"

#include <atomic>
#include <exception>
#include <new>
#include <optional>

#include "ttscript/host_keys.h"
#include "ttscript/interpreter.h"
#include "ttscript/run_memory.h"
#include "ttscript/script_failure.h"
#include "ttscript/script_loader.h"
#include "ttscript/syntax_tree.h"

namespace ttscript {
namespace {

constexpr const char* kVersion = "1.00.0000";

// Marks the engine as running for as long as it lives.
class RunningFlag {
  public:
    explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningFlag() { flag_ = false; }
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;

  private:
    bool& flag_;
};

}  // namespace

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
    std::size_t memoryBudget = kDefaultMemoryBudget;
    std::string path;
    // What is left of the program once compiled: its folder, files and names.
    std::optional<Program> program;
    // The program compiled, at its first run.
    std::optional<ProgramCode> code;

    // What `step` leads to: completed, or the failure it throws as the error of the
    // script at `path`.
    template <class Step>
    RunOutcome outcomeOf(const std::string& scriptPath, const Step& step) {
        RunOutcome outcome;
        if (running) {
            outcome.error = scriptError(scriptPath, "スクリプトの実行中に RunScript は呼べません");
            return outcome;
        }
        RunningFlag flag(running);
        stopRequested = false;
        try {
            step();
            outcome.completed = true;
        } catch (const ScriptFailure& failure) {
            outcome.error = scriptError(scriptPath, failure);
            outcome.stopped = dynamic_cast<const ScriptStopped*>(&failure) != nullptr;
        } catch (const std::bad_alloc&) {
            outcome.error =
                scriptError(scriptPath, std::string(kRuntimeErrorPrefix) + "メモリが足りません");
        } catch (const std::exception& e) {
            outcome.error = scriptError(scriptPath, kRuntimeErrorPrefix + std::string(e.what()));
        }
        return outcome;
    }
};

TTSA::TTSA(EngineEvents* events) : impl_(std::make_unique<Impl>()) { impl_->events = events; }

TTSA::~TTSA() = default;

std::string TTSA::GetInfo(const std::string& key, const std::string& argument) const {
    return key == "バージョン" && argument == "0" ? kVersion : "";
}

RunOutcome TTSA::RunScript(const std::string& path, std::int32_t& n1, std::int32_t& n2) {
    (void)n1, (void)n2;
    RunOutcome loaded = LoadScript(path);
    return loaded.completed ? RunLoaded() : loaded;
}

RunOutcome TTSA::LoadScript(const std::string& path) {
    return impl_->outcomeOf(path, [&] {
        impl_->code.reset();
        impl_->program.reset();
        impl_->path = path;
        impl_->program = loadProgram(path, [this](std::size_t done, std::size_t total) {
            if (impl_->events) impl_->events->Loading(done, total);
            if (impl_->stopRequested) throwStopped();
        });
        if (impl_->events) {
            resolveHostKeys(*impl_->program, *impl_->events);
            for (const std::string& imported : impl_->program->importedPaths) {
                impl_->events->FileRead(imported);
            }
        }
    });
}

RunOutcome TTSA::RunLoaded() {
    return impl_->outcomeOf(impl_->path, [&] {
        if (!impl_->program) throw ScriptFailure("スクリプトが読み込まれていません", {});
        if (!impl_->code) {
            try {
                impl_->code = compileProgram(*impl_->program);
            } catch (...) {
                impl_->program.reset();  // part of its tree is gone
                throw;
            }
        }
        Interpreter(*impl_->code, *impl_->program, impl_->events, impl_->stopRequested,
                    impl_->memoryBudget)
            .run();
    });
}

const Program* TTSA::LoadedProgram() const {
    return impl_->program && !impl_->code ? &*impl_->program : nullptr;
}

const std::string& TTSA::LoadedPath() const { return impl_->path; }

void TTSA::SetMemoryBudget(std::size_t bytes) { impl_->memoryBudget = bytes; }

void TTSA::RequestStop() { impl_->stopRequested = true; }

}  // namespace ttscript
