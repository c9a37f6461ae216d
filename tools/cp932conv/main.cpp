// cp932conv OUTDIR FILE...: copies UTF-8 text files into OUTDIR in code page 932
// with CR LF line ends, as the tool's reference files are stored. Fails on a
// character the code page cannot hold, so a sample file never loses text.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "platform/codepage.h"

namespace fs = std::filesystem;

namespace {

std::string withCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

bool convert(const fs::path& source, const fs::path& folder) {
    std::ifstream in(source, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    if (!in) {
        std::cerr << "cp932conv: cannot read " << source << '\n';
        return false;
    }
    std::string text = withCrLf(content.str());
    std::string bytes = mirudana::utf8ToCp932(text);
    if (mirudana::cp932ToUtf8(bytes) != text) {
        std::cerr << "cp932conv: " << source << " holds text code page 932 cannot represent\n";
        return false;
    }
    std::ofstream out(folder / source.filename(), std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.flush()) {
        std::cerr << "cp932conv: cannot write into " << folder << '\n';
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: cp932conv OUTDIR FILE...\n";
        return 2;
    }
    fs::path folder = argv[1];
    std::error_code ec;
    fs::create_directories(folder, ec);
    bool ok = true;
    for (int i = 2; i < argc; ++i) ok = convert(argv[i], folder) && ok;
    return ok ? 0 : 1;
}
