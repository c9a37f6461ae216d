// Runs a built program as a user would, with its output captured.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mirudana::testing {

struct ProcessOutcome {
    int status = -1;  // the exit status; -1 when the program crashed or was killed
    std::string out;
    std::string err;
};

// The words of `arguments` as a POSIX shell splits them: separated by spaces, with
// '...' quoting kept whole. Lets a test write a command line once for every platform.
std::vector<std::string> shellWords(std::string_view arguments);

// Runs `program` with shellWords(arguments), standard input empty, and standard
// output and error captured through files in `scratchFolder`.
ProcessOutcome runProgram(const std::string& program, std::string_view arguments,
                          const std::string& scratchFolder);

}  // namespace mirudana::testing
