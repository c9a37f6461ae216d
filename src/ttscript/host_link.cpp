#include "ttscript/host_link.h"

#include <cassert>
#include <exception>
#include <utility>

#include "ttscript/beside_files.h"
#include "ttscript/script_failure.h"

namespace ttscript {
namespace {

// Runs a handler; whatever it throws becomes an (unplaced) runtime error.
template <typename Handler>
void guarded(const char* event, Handler&& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        throwRuntimeError(std::string("ホストの ") + event +
                          " でエラーが発生しました: " + e.what());
    } catch (...) {
        throwRuntimeError(std::string("ホストの ") + event + " でエラーが発生しました");
    }
}

}  // namespace

void HostLink::checkStop() const {
    if (stopRequested_.load(std::memory_order_relaxed)) throwStopped();
}

std::string_view HostLink::getData(const std::string& key, const ResolvedHostKey& resolved) {
    checkStop();
    // The host writes into the buffer of the last answer: one grown for a long
    // answer takes the next without asking for memory again.
    std::string& result = answer_;
    result.clear();
    if (events_ && resolved.id != kUnresolvedKey) {
        assert(key.size() >= resolved.literalLength && "a key starts with its literal");
        std::string_view rest = std::string_view(key).substr(resolved.literalLength);
        guarded("GetData", [&] { events_->GetResolved(resolved.id, rest, result); });
    } else if (events_) {
        guarded("GetData", [&] { events_->GetData(key, result); });
    }
    return result;
}

void HostLink::setData(const std::string& item, const Value& value, const std::string& plain) {
    checkStop();
    if (!events_) return;
    bool notFound = true;
    TextOf normal(value);  // a finished report is handed over without a copy
    std::optional<double> num = value.toNumber();
    guarded("SetData", [&] { events_->SetData(item, normal.str(), num, plain, notFound); });
}

void HostLink::tick() {
    checkStop();
    if (events_) guarded("Tick", [&] { events_->Tick(); });
}

void HostLink::runCmd(const std::string& verb, const std::string& noun) {
    checkStop();
    bool notFound = true;
    if (events_) guarded("RunCmd", [&] { events_->RunCmd(verb, noun, notFound); });
    if (notFound) throwRuntimeError("不明なコマンドです: " + shownText(verb));
}

std::string HostLink::readText(const std::string& relative) {
    checkStop();
    try {
        BesideFile file = readBesideFile(scriptFolder_, relative, BesideKind::PageText);
        if (events_) guarded("ReadText", [&] { events_->FileRead(file.path); });
        return besideFileText(std::move(file.bytes));
    } catch (const BesideFileRefused& refused) {
        throwRuntimeError("ReadText(\"" + shownText(relative) +
                          "\") を読めません: " + refused.what());
    }
}

}  // namespace ttscript
