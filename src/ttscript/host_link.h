// The interpreter's way out: raises the host's three events and turns a command
// the host does not know, or an exception escaping a handler, into a runtime error.
#pragma once

#include <atomic>
#include <string>

#include "ttscript/engine.h"
#include "ttscript/value.h"

namespace ttscript {

class HostLink {
  public:
    // `events` may be null: queries then answer "" and every command is unknown.
    // Once a stop is requested no event is raised any more, not even by the rest of
    // the statement that asked: a cancelled run must not still write its report.
    HostLink(EngineEvents* events, const std::atomic<bool>& stopRequested)
        : events_(events), stopRequested_(stopRequested) {}

    std::string getData(const std::string& key);
    // `plain` is the source text of the expression that gave `value`.
    void setData(const std::string& item, const Value& value, const std::string& plain);
    void runCmd(const std::string& verb, const std::string& noun);
    void tick();

  private:
    void checkStop() const;

    EngineEvents* events_;
    const std::atomic<bool>& stopRequested_;
};

}  // namespace ttscript
