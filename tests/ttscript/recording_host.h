// A fake engine host for the script tests: answers queries from a table, records
// every event, and collects what scripts print with `[p] = value`.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ttscript/engine.h"

namespace ttscript::testing {

class RecordingHost : public EngineEvents {
  public:
    std::map<std::string, std::string> answers;  // GetData: key -> answer
    std::vector<std::string> knownCommands{"ロード"};
    std::vector<std::string> events;                        // one line per event, in order
    std::string printed;                                    // `[p] = x` appends x and "\n"
    std::function<void(const std::string& event)> onEvent;  // runs inside each handler
    int ticks = 0;
    std::function<void()> onTick;
    int loadings = 0;
    std::function<void()> onLoading;

    void GetData(const std::string& key, std::string& result) override;
    void RunCmd(const std::string& verb, const std::string& noun, bool& notFound) override;
    void SetData(const std::string& item, std::string_view normal, const std::optional<double>& num,
                 const std::string& plain, bool& notFound) override;
    void Tick() override;
    void Loading(std::size_t done, std::size_t total) override;
};

struct ScriptRun {
    RunOutcome outcome;
    std::string error;  // outcome.error->describe(), or "" when the script completed
};

// Writes `bytes` to a temporary "test.tts", and `beside` (name -> text) beside it,
// and runs it against `host`, within `memoryBudget` bytes when given.
ScriptRun runScriptBytes(const std::string& bytes, RecordingHost& host,
                         std::optional<std::size_t> memoryBudget = std::nullopt,
                         const std::map<std::string, std::string>& beside = {});

// `text` `times` times over, for scripts of a given size.
std::string repeat(const std::string& text, int times);

}  // namespace ttscript::testing
