#include "platform/terminal.h"

#include <cerrno>
#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// windows.h first: shellapi.h needs its types.
#include <shellapi.h>

#include <iostream>
#include <streambuf>

#include "platform/utf.h"
#else
#include <unistd.h>
#endif

namespace mirudana {

#ifdef _WIN32
namespace {

// The length of `text` without an unfinished UTF-8 sequence at its end.
std::size_t completeUtf8Length(const std::string& text) {
    std::size_t n = text.size();
    for (std::size_t back = 1; back <= 3 && back <= n; ++back) {
        auto byte = static_cast<unsigned char>(text[n - back]);
        if ((byte & 0xC0) == 0x80) continue;  // a continuation byte: look further back
        std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? n - back : n;
    }
    return n;
}

// Writes UTF-8 text to a console as UTF-16; a sequence split between two writes
// waits for its end.
class ConsoleBuffer : public std::streambuf {
  public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) {}

  protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        pending_ += traits_type::to_char_type(c);
        writePending();
        return c;
    }

    std::streamsize xsputn(const char* s, std::streamsize n) override {
        pending_.append(s, static_cast<std::size_t>(n));
        writePending();
        return n;
    }

  private:
    void writePending() {
        std::size_t complete = completeUtf8Length(pending_);
        std::u16string wide = utf8ToUtf16(std::string_view(pending_).substr(0, complete));
        DWORD written = 0;
        WriteConsoleW(console_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        pending_.erase(0, complete);
    }

    HANDLE console_;
    std::string pending_;
};

void prepare(std::ostream& stream, DWORD handleId, std::FILE* file) {
    HANDLE handle = GetStdHandle(handleId);
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        // Never freed: the stream may be written until the process ends.
        stream.rdbuf(new ConsoleBuffer(handle));
    } else {
        _setmode(_fileno(file), _O_BINARY);
    }
}

}  // namespace

std::vector<std::string> programArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return std::vector<std::string>(argv + 1, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) {
        arguments.push_back(utf16ToUtf8(reinterpret_cast<const char16_t*>(wide[i])));
    }
    LocalFree(wide);
    return arguments;
}

void prepareStandardStreams() {
    std::cout.flush();
    std::cerr.flush();
    prepare(std::cout, STD_OUTPUT_HANDLE, stdout);
    prepare(std::cerr, STD_ERROR_HANDLE, stderr);
}

bool standardErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

// The C library keeps no trace of the system's reason, but a pipe refuses a write
// only once its reader has gone.
int standardOutputWriteErrno(int err) {
    const bool pipe = GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_PIPE;
    return pipe && err == EINVAL ? EPIPE : err;
}
#else
std::vector<std::string> programArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void prepareStandardStreams() {}

bool standardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

int standardOutputWriteErrno(int err) { return err; }
#endif

}  // namespace mirudana
