#include "recording_host.h"

#include <algorithm>

#include "support/temp_dir.h"
#include "ttscript/value.h"

namespace ttscript::testing {

void RecordingHost::GetData(const std::string& key, std::string& result) {
    events.push_back("GetData " + key);
    if (onEvent) onEvent("GetData " + key);
    if (auto it = answers.find(key); it != answers.end()) result = it->second;
}

void RecordingHost::RunCmd(const std::string& verb, const std::string& noun, bool& notFound) {
    events.push_back("RunCmd " + verb + "|" + noun);
    if (onEvent) onEvent("RunCmd " + verb);
    notFound = std::find(knownCommands.begin(), knownCommands.end(), verb) == knownCommands.end();
}

void RecordingHost::SetData(const std::string& item, std::string_view normal,
                            const std::optional<double>& num, const std::string& plain,
                            bool& notFound) {
    if (item == "p") {
        printed.append(normal).append("\n");
    } else {
        events.push_back("SetData " + item + "|" + std::string(normal) + "|" +
                         (num ? formatNumber(*num) : "-") + "|" + plain);
    }
    if (onEvent) onEvent("SetData " + item);
    notFound = false;
}

void RecordingHost::Tick() {
    ++ticks;
    if (onTick) onTick();
}

void RecordingHost::Loading(std::size_t, std::size_t) {
    ++loadings;
    if (onLoading) onLoading();
}

ScriptRun runScriptBytes(const std::string& bytes, RecordingHost& host,
                         std::optional<std::size_t> memoryBudget,
                         const std::map<std::string, std::string>& beside) {
    mirudana::testing::TempDir dir;
    for (const auto& [name, text] : beside) dir.write(name, text);
    std::string path = dir.write("test.tts", bytes);
    TTSA engine(&host);
    if (memoryBudget) engine.SetMemoryBudget(*memoryBudget);
    std::int32_t n1 = 0, n2 = 0;
    ScriptRun run{engine.RunScript(path, n1, n2), ""};
    if (run.outcome.error) run.error = run.outcome.error->describe();
    return run;
}

std::string repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

}  // namespace ttscript::testing
