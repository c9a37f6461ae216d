// An interrupt removes the registered file, then ends the process as it would have.
#include "platform/interrupt_cleanup.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "support/temp_dir.h"

namespace mirudana::testing {
namespace {

TEST(RemoveOnInterruptTest, RemovesTheFileOnlyWhileArmedAndEndsAsTheSignalWould) {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        for (bool armed : {true, false}) {
            SCOPED_TRACE(std::to_string(signal) + (armed ? " armed" : " disarmed"));
            TempDir dir;
            std::string path = dir.write(".mirudana-1.tmp", "partial");
            pid_t child = fork();
            if (child == 0) {
                {
                    RemoveOnInterrupt guard(path);
                    if (armed) std::raise(signal);
                }
                std::raise(signal);
                _exit(0);
            }
            int status = 0;
            waitpid(child, &status, 0);
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
            EXPECT_EQ(std::filesystem::exists(path), !armed);
        }
    }
}

}  // namespace
}  // namespace mirudana::testing
