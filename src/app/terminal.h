// Whether the command line talks to a person, who wants a progress line.
#pragma once

namespace mirudana {

bool standardErrorIsTerminal();

}  // namespace mirudana
