// The interpreter's way out: raises the host's three events and turns a command
// the host does not know, or an exception escaping a handler, into a runtime error;
// and reads the text files beside the script.
#pragma once

#include <atomic>
#include <string>
#include <string_view>
#include <utility>

#include "ttscript/engine.h"
#include "ttscript/syntax_tree.h"
#include "ttscript/value.h"

namespace ttscript {

class HostLink {
  public:
    // `events` may be null: queries then answer "" and every command is unknown.
    // Once a stop is requested no event is raised any more, not even by the rest of
    // the statement that asked: a cancelled run must not still write its report.
    // `scriptFolder`: where ReadText reads.
    HostLink(EngineEvents* events, const std::atomic<bool>& stopRequested, std::string scriptFolder)
        : events_(events), stopRequested_(stopRequested), scriptFolder_(std::move(scriptFolder)) {}

    // The host's answer to `key`, through GetResolved when the host resolved the
    // literal key, or the literal start, that `key` comes from (`resolved`). Valid
    // until the next call.
    std::string_view getData(const std::string& key, const ResolvedHostKey& resolved);
    // `plain` is the source text of the expression that gave `value`.
    void setData(const std::string& item, const Value& value, const std::string& plain);
    void runCmd(const std::string& verb, const std::string& noun);
    void tick();
    // The UTF-8 text of the file `relative` beside the script, within the rules of
    // readBesideFile; a runtime error naming the file and the reason otherwise.
    std::string readText(const std::string& relative);

  private:
    void checkStop() const;

    EngineEvents* events_;
    const std::atomic<bool>& stopRequested_;
    std::string scriptFolder_;
    std::string answer_;  // the host's last answer to getData
};

}  // namespace ttscript
