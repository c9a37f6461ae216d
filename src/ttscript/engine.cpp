#include "ttscript/engine.h"

#include <atomic>
#include <exception>
#include <new>

#include "ttscript/interpreter.h"
#include "ttscript/run_memory.h"
#include "ttscript/script_failure.h"
#include "ttscript/script_loader.h"

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
};

TTSA::TTSA(EngineEvents* events) : impl_(std::make_unique<Impl>()) { impl_->events = events; }

TTSA::~TTSA() = default;

std::string TTSA::GetInfo(const std::string& key, const std::string& argument) const {
    return key == "バージョン" && argument == "0" ? kVersion : "";
}

RunOutcome TTSA::RunScript(const std::string& path, std::int32_t& n1, std::int32_t& n2) {
    (void)n1, (void)n2;
    RunOutcome outcome;
    if (impl_->running) {
        outcome.error = scriptError(path, "スクリプトの実行中に RunScript は呼べません");
        return outcome;
    }
    RunningFlag running(impl_->running);
    impl_->stopRequested = false;
    try {
        Program program = loadProgram(path, [this](std::size_t done, std::size_t total) {
            if (impl_->events) impl_->events->Loading(done, total);
            if (impl_->stopRequested) throwStopped();
        });
        Interpreter(program, impl_->events, impl_->stopRequested, impl_->memoryBudget).run();
        outcome.completed = true;
    } catch (const ScriptFailure& failure) {
        outcome.error = scriptError(path, failure.message(), failure.line(), failure.column());
        outcome.stopped = dynamic_cast<const ScriptStopped*>(&failure) != nullptr;
    } catch (const std::bad_alloc&) {
        outcome.error = scriptError(path, std::string(kRuntimeErrorPrefix) + "メモリが足りません");
    } catch (const std::exception& e) {
        outcome.error = scriptError(path, kRuntimeErrorPrefix + std::string(e.what()));
    }
    return outcome;
}

void TTSA::SetMemoryBudget(std::size_t bytes) { impl_->memoryBudget = bytes; }

void TTSA::RequestStop() { impl_->stopRequested = true; }

}  // namespace ttscript
