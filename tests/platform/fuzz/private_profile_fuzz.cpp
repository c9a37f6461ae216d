// libFuzzer entry point for the INI reader and writer: any bytes as an INI file.
// Every key the file holds is read, and then written and read back; nothing may
// crash or trip a sanitizer, a value read is valid UTF-8, and a value written is
// the value read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/private_profile.h"
#include "platform/utf.h"
#include "support/temp_dir.h"

namespace {

using namespace mirudana;

void check(bool holds) {
    if (!holds) std::abort();
}

std::string_view trimBlanks(std::string_view text) {
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The section and key names as a plain scan of the lines sees them, a few at most.
struct Names {
    std::string section = "head";
    std::string key = "rare";
};

Names namesIn(std::string_view bytes) {
    Names names;
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", at);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = trimBlanks(bytes.substr(at, end - at));
        at = end + 1;
        if (line.starts_with('[')) {
            // A '[' line without ']' is neither a section nor a key.
            if (line.find(']') != std::string_view::npos) {
                names.section = trimBlanks(line.substr(1, line.find(']') - 1));
            }
        } else if (!line.starts_with(';') && line.find('=') != std::string_view::npos) {
            names.key = trimBlanks(line.substr(0, line.find('=')));
            break;
        }
    }
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const testing::TempDir dir;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string file = dir.write("fuzz.ini", bytes);

    // Names taken from the raw bytes are code page 932; the functions take UTF-8.
    const Names names = namesIn(bytes);
    const std::size_t bufferSize = size == 0 ? 0 : data[size - 1];
    check(isValidUtf8(privateProfileString(bytes, names.section, names.key, bufferSize)));
    check(isValidUtf8(privateProfileString(bytes, names.section, names.key)));

    // Names that are UTF-8 text go through the code page alike on writing and reading.
    const std::string value = "値 7";
    if (isValidUtf8(names.section) && isValidUtf8(names.key)) {
        check(writePrivateProfileString(names.section, names.key, value, file));
        check(privateProfileString(testing::readBytes(file), names.section, names.key) == value);
    }
    return 0;
}
