// The tool's side of a running report script: answers its questions, steps to the
// next battle file on "ロード", and takes "対象" and the report text ("保存データ").
#pragma once

#include <optional>
#include <string>

#include "report/conversion_run.h"
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

    // "ロード" moves to the next battle file of the list that can be read, or marks
    // the list as exhausted when none is left.
    void RunCmd(const std::string& verb, const std::string& noun, bool& notFound) override;

    // "対象" picks the client side for "クライアント" or the number 2, else the
    // server side. "出力文字コード" "UTF-8" has later reports written in UTF-8,
    // any other value in code page 932. "保存データ" writes the report and stays
    // "not found".
    void SetData(const std::string& item, const std::string& normal,
                 const std::optional<double>& num, const std::string& plain,
                 bool& notFound) override;

    // Lets the run's observer keep its window alive, and stops the script on request.
    void Tick() override;

    // Shows how far the script's loading has come, and cancels it on request.
    void Loading(std::size_t done, std::size_t total) override;

    // Replaces the output file with `text`; a failure shows a warning each time.
    void WriteReport(const std::string& text);

    // Whether a report handed over during the run could not be written.
    bool reportUnwritten() const { return reportUnwritten_; }

    // What the run did so far: battles given to the script, files passed over,
    // reports handed over and where the last went.
    const RunSummary& summary() const { return summary_; }
    void noteSkipped(const std::string& path) { summary_.skippedFiles.push_back(path); }

    // Whether the script has raised any event, so it was running (not just read).
    bool scriptRan() const { return scriptRan_; }

  private:
    // Reports progress to the observer; a "stop" answer stops the script.
    void reportProgress();

    RunContext& context_;
    ttscript::TTSA* engine_ = nullptr;
    bool reportUnwritten_ = false;
    bool scriptRan_ = false;
    RunSummary summary_;
    ReportEncoding encoding_ = ReportEncoding::Cp932;
};

}  // namespace mirudana
