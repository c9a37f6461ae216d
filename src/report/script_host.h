// The tool's side of a running report script: answers its questions, steps to the
// next battle file on "ロード", and acts on the items it sets (the side it reads,
// the report's encoding, the report text).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_identity.h"
#include "report/conversion_run.h"
#include "report/query_vocabulary.h"
#include "report/report_writer.h"
#include "ttscript/engine.h"

namespace mirudana {

class ScriptHost : public ttscript::EngineEvents {
  public:
    explicit ScriptHost(RunContext& context) : context_(context) {}

    // The engine that raises the events, so a stop request can reach it.
    void attach(ttscript::TTSA& engine) { engine_ = &engine; }

    // Loads the first file of the list from `index` on that can be read, passing
    // over (and noting) each that cannot; FileLoaded false when none is left.
    void loadFirstReadable(int index);

    // Any failure leaves `result` as it was; keys outside the vocabulary answer "True".
    void GetData(const std::string& key, std::string& result) override;

    // Looks a literal key (or the literal start of a key with an identifier) up in the
    // vocabulary once; GetResolved then answers it as GetData would.
    ttscript::HostKeyId ResolveKey(std::string_view key, bool prefix) override;
    void GetResolved(ttscript::HostKeyId id, std::string_view rest, std::string& result) override;

    // "ロード" moves to the next battle file of the list that can be read, or marks
    // the list as exhausted when none is left.
    void RunCmd(const std::string& verb, const std::string& noun, bool& notFound) override;

    // Acts on the item's row of setDataItems(); any other item is "not found".
    void SetData(const std::string& item, std::string_view normal, const std::optional<double>& num,
                 const std::string& plain, bool& notFound) override;

    // One item a script sets with `[name] = value`, and what setting it does.
    struct SetDataItem {
        std::string_view name;
        // Acts on the value (as text, and as a number when it is one); the result
        // is whether the engine hears the item as found.
        bool (*apply)(ScriptHost& host, std::string_view normal, const std::optional<double>& num);
    };
    // Every item SetData acts on, one row each.
    static std::span<const SetDataItem> setDataItems();

    // Lets the run's observer keep its window alive, and stops the script on request.
    void Tick() override;

    // Shows how far the script's loading has come, and cancels it on request.
    void Loading(std::size_t done, std::size_t total) override;

    // Notes the file, which the report may then not replace: it is one of the inputs.
    void FileRead(const std::string& path) override;

    // Whether a report handed over during the run could not be written.
    bool reportUnwritten() const { return reportUnwritten_; }

    // What the run did so far: battles given to the script, files passed over,
    // reports handed over and where the last went.
    const RunSummary& summary() const { return summary_; }
    void noteSkipped(const std::string& path) { summary_.skippedFiles.push_back(path); }

    // Whether the script has raised any event, so it was running (not just read).
    bool scriptRan() const { return scriptRan_; }

  private:
    // Replaces the output file with `text`; a failure shows a warning each time.
    void writeReport(std::string_view text);

    // Whether the script read the file at `path` (ReadText, Import).
    bool wasReadByScript(const std::string& path) const;

    // Reports progress to the observer; a "stop" answer stops the script.
    void reportProgress();

    // Puts in `result` what `ask` answers from the run's sources; no answer, or any
    // failure, leaves `result` as it was.
    template <class Ask>
    void answer(const Ask& ask, std::string& result);

    RunContext& context_;
    ttscript::TTSA* engine_ = nullptr;
    bool reportUnwritten_ = false;
    bool scriptRan_ = false;
    RunSummary summary_;
    ReportEncoding encoding_ = ReportEncoding::Cp932;
    std::vector<ResolvedQuery> resolved_;  // by HostKeyId, from 1
    std::vector<FileIdentity> filesRead_;  // by the script, beside it
};

}  // namespace mirudana

namespace mirudana {

// Whether ScriptHost acts on `item` (a row of ScriptHost::setDataItems()).
bool isKnownSetDataItem(std::string_view item);

}  // namespace mirudana
