// Running test code the way a user without special rights would meet the file
// system. The tests often run as root (CI does), whom permissions do not stop.
#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace mirudana::testing {

inline constexpr unsigned kNobody = 65534;  // the user "nobody" and the group "nogroup"

// Runs `body` and returns its result: directly when the tests already run without
// root's rights, else in a child process that first becomes "nobody".
inline int asUnprivileged(const std::function<int()>& body) {
    if (geteuid() != 0) return body();
    pid_t child = fork();
    if (child == 0) {
        bool dropped = setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0;
        _exit(dropped ? body() : 125);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 126;
}

// What to put before a command line so the program runs without root's rights.
inline std::string unprivilegedCommand() {
    return geteuid() == 0 ? "setpriv --reuid=nobody --regid=nogroup --clear-groups " : "";
}

}  // namespace mirudana::testing
