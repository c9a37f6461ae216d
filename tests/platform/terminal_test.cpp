// A write to standard output whose reader has gone is told apart from other
// failures, though Windows' C library calls it an invalid argument.
#include "platform/terminal.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>

#include "platform/failure.h"

namespace mirudana::testing {
namespace {

TEST(TerminalTest, AWriteWhoseReaderHasGoneSaysSo) {
    HANDLE reader = nullptr;
    HANDLE writer = nullptr;
    ASSERT_TRUE(CreatePipe(&reader, &writer, nullptr, 0));
    CloseHandle(reader);
    std::FILE* out = _fdopen(_open_osfhandle(reinterpret_cast<intptr_t>(writer), _O_WRONLY), "wb");
    ASSERT_NE(out, nullptr);
    errno = 0;
    const bool written = std::fputs("report", out) >= 0 && std::fflush(out) == 0;
    const int failed = errno;
    const HANDLE standardOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    SetStdHandle(STD_OUTPUT_HANDLE, writer);
    const int err = standardOutputWriteErrno(failed);
    SetStdHandle(STD_OUTPUT_HANDLE, standardOutput);
    std::fclose(out);
    EXPECT_FALSE(written);
    EXPECT_EQ(errnoDescription(err, FileAccess::Writing),
              "受け取る側のプログラムが先に終わりました。");
}

}  // namespace
}  // namespace mirudana::testing
