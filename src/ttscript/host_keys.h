// Lets the host resolve, once when a script is loaded, every key the script asks
// literally, so that a run answers them without the host reading their text again.
#pragma once

#include "ttscript/engine.h"
#include "ttscript/syntax_tree.h"

namespace ttscript {

// Raises `events`' ResolveKey for each [key] and each GetData("key") of `program`,
// and for the literal first piece of each GetData("start" & ...), and keeps what it
// gives in the node. One pass over the script.
void resolveHostKeys(Program& program, EngineEvents& events);

}  // namespace ttscript
