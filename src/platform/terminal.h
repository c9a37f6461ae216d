// The command line and the console of a command-line program: its arguments as
// UTF-8 whatever the system's code page, text that reads right on a console, and
// whether standard error talks to a person (who wants a progress line).
#pragma once

#include <string>
#include <vector>

namespace mirudana {

// The program's arguments, without its own name, as UTF-8 text. On Windows they
// are read again from the system as UTF-16, so Japanese arguments arrive whole
// even where the ANSI code page cannot hold them.
std::vector<std::string> programArguments(int argc, char** argv);

// Makes std::cout and std::cerr pass UTF-8 text on as the user sees it. On a
// Windows console it is written as UTF-16 with WriteConsoleW, whatever the
// console's code page; redirected, the bytes go out as they are, with no CR added
// before LF, so a redirected output is the same file on every platform.
void prepareStandardStreams();

bool standardErrorIsTerminal();

// The errno value that says why a write to standard output failed, given the one
// the C library set: EPIPE when it is a pipe whose reader has gone, which Windows'
// C library calls EINVAL, an invalid argument.
int standardOutputWriteErrno(int err);

}  // namespace mirudana
