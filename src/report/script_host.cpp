#include "report/script_host.h"

#include <algorithm>

#include "battle/file_list.h"
#include "platform/failure.h"
#include "report/report_writer.h"

namespace mirudana {
namespace {

constexpr const char* kOutputReadByScript =
    "スクリプトが読み込んだファイルです。入力ファイルを壊さないよう、書き込みませんでした。";

}  // namespace

template <class Ask>
void ScriptHost::answer(const Ask& ask, std::string& result) {
    scriptRan_ = true;
    try {
        const QuerySources sources{context_.battle, context_.files, context_.references,
                                   context_.ui};
        if (QueryAnswer found = ask(sources)) result = std::move(*found);
    } catch (...) {
        // A failed query answers nothing: the script sees what it passed in.
    }
}

void ScriptHost::GetData(const std::string& key, std::string& result) {
    answer(
        [&](const QuerySources& sources) {
            return answerResolved(*resolveQuery(key), {}, sources);
        },
        result);
}

ttscript::HostKeyId ScriptHost::ResolveKey(std::string_view key, bool prefix) {
    std::optional<ResolvedQuery> query = resolveQuery(key, prefix);
    if (!query) return ttscript::kUnresolvedKey;
    resolved_.push_back(std::move(*query));
    return static_cast<ttscript::HostKeyId>(resolved_.size());
}

void ScriptHost::GetResolved(ttscript::HostKeyId id, std::string_view rest, std::string& result) {
    answer(
        [&](const QuerySources& sources) {
            return answerResolved(resolved_.at(id - 1), rest, sources);
        },
        result);
}

void ScriptHost::RunCmd(const std::string& verb, const std::string& /*noun*/, bool& notFound) {
    scriptRan_ = true;
    notFound = true;
    if (verb != kLoadCommand) return;
    reportProgress();
    LoadedBattle& battle = context_.battle;
    // Positions are 16-bit: the list cannot reach past the last one.
    if (battle.CurrentIndex + 1 >= context_.files.count() ||
        battle.CurrentIndex == kMaxBattleFiles) {
        battle.FileLoaded = false;
    } else {
        loadFirstReadable(battle.CurrentIndex + 1);
    }
    notFound = false;
}

void ScriptHost::loadFirstReadable(int index) {
    LoadedBattle& battle = context_.battle;
    const int total = context_.files.count();
    for (battle.CurrentIndex = static_cast<std::int16_t>(index);; ++battle.CurrentIndex) {
        const std::string path = context_.files.entryAt(battle.CurrentIndex);
        battle.LoadBattleFile(path);
        if (battle.FileLoaded) {
            ++summary_.battlesReported;
            return;
        }
        noteSkipped(path);
        if (battle.CurrentIndex + 1 >= total) return;
    }
}

void ScriptHost::Tick() {
    scriptRan_ = true;
    reportProgress();
}

void ScriptHost::Loading(std::size_t done, std::size_t total) {
    if (context_.observer == nullptr || total == 0) return;
    auto percent = static_cast<int>(done * 100 / total);
    if (!context_.observer->onScriptLoading(percent, context_.files.count()) &&
        engine_ != nullptr) {
        engine_->RequestStop();
    }
}

void ScriptHost::FileRead(const std::string& path) {
    std::optional<FileIdentity> identity = fileIdentity(path);
    if (identity && std::ranges::find(filesRead_, *identity) == filesRead_.end()) {
        filesRead_.push_back(*identity);
    }
}

bool ScriptHost::wasReadByScript(const std::string& path) const {
    if (filesRead_.empty()) return false;
    std::optional<FileIdentity> identity = fileIdentity(path);
    return identity && std::ranges::find(filesRead_, *identity) != filesRead_.end();
}

void ScriptHost::reportProgress() {
    if (context_.observer == nullptr) return;
    const int total = context_.files.count();
    const int done = context_.battle.CurrentIndex + 1;
    if (!context_.observer->onProgress(done < total ? done : total, total) && engine_ != nullptr) {
        engine_->RequestStop();
    }
}

std::span<const ScriptHost::SetDataItem> ScriptHost::setDataItems() {
    using Num = const std::optional<double>&;
    static constexpr SetDataItem kItems[] = {
        // The side later questions answer for: the client for kClientSide or the
        // number 2, else the server.
        {kTargetItem,
         [](ScriptHost& host, std::string_view normal, Num num) {
             host.context_.battle.TargetIsClient = normal == kClientSide || (num && *num == 2.0);
             return true;
         }},
        // "UTF-8" has later reports written in UTF-8 without a byte-order mark, any
        // other value in code page 932.
        {kEncodingItem,
         [](ScriptHost& host, std::string_view normal, Num) {
             host.encoding_ =
                 normal == kUtf8Encoding ? ReportEncoding::Utf8 : ReportEncoding::Cp932;
             return true;
         }},
        // The whole report: replaces the output file. Left "not found", which the
        // engine ignores for SetData.
        {"保存データ",
         [](ScriptHost& host, std::string_view normal, Num) {
             host.writeReport(normal);
             return false;
         }},
    };
    return kItems;
}

bool isKnownSetDataItem(std::string_view item) {
    return std::ranges::any_of(ScriptHost::setDataItems(), [&](const ScriptHost::SetDataItem& row) {
        return row.name == item;
    });
}

void ScriptHost::SetData(const std::string& item, std::string_view normal,
                         const std::optional<double>& num, const std::string& /*plain*/,
                         bool& notFound) {
    scriptRan_ = true;
    notFound = true;
    for (const SetDataItem& row : setDataItems()) {
        if (row.name == item) notFound = !row.apply(*this, normal, num);
    }
}

void ScriptHost::writeReport(std::string_view text) {
    const std::string path = context_.outputPath();
    summary_.reportHandedOver = true;
    summary_.reportPath = path;
    if (context_.heldReport != nullptr) {
        context_.heldReport->clear();
        encodeReport(text, encoding_,
                     [this](std::string_view bytes) { context_.heldReport->append(bytes); });
        return;
    }
    std::string why = kOutputReadByScript;
    if (!wasReadByScript(path)) {
        try {
            writeReportFile(path, text, encoding_);
            return;
        } catch (const Failure& failure) {
            why = failure.what();
        } catch (const std::exception& e) {
            why = failureDescription(failureNumberOf(e));
        }
    }
    reportUnwritten_ = true;
    context_.ui.showWarning(std::string(kReportUnwritten) + "\r\n" + path + "\r\n" + why);
}

}  // namespace mirudana
