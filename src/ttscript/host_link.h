// The interpreter's way out: raises the host's three events and turns a command
// the host does not know, or an exception escaping a handler, into a runtime error.
#pragma once

#include <string>

#include "ttscript/engine.h"
#include "ttscript/value.h"

namespace ttscript {

class HostLink {
  public:
    // `events` may be null: queries then answer "" and every command is unknown.
    explicit HostLink(EngineEvents* events) : events_(events) {}

    std::string getData(const std::string& key);
    // `plain` is the source text of the expression that gave `value`.
    void setData(const std::string& item, const Value& value, const std::string& plain);
    void runCmd(const std::string& verb, const std::string& noun);

  private:
    EngineEvents* events_;
};

}  // namespace ttscript
