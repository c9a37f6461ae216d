#include "ttscript/source_text.h"

#include "platform/codepage.h"
#include "platform/utf.h"

namespace ttscript {

std::string decodeScriptSource(std::string_view bytes) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
    if (mirudana::isValidUtf8(bytes)) return std::string(bytes);
    return mirudana::cp932ToUtf8(bytes);
}

}  // namespace ttscript
