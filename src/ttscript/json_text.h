// Text as a JSON string literal that can also sit inside an HTML <script> element.
#pragma once

#include <string>
#include <string_view>

namespace ttscript {

// `utf8` as a JSON string literal, quotes included. Besides what JSON requires
// (`"`, `\` and control characters), `<`, `>` and `&` are escaped, so no text can
// close or open an element, and U+2028 and U+2029, which older JavaScript does not
// take inside a string. Each byte of invalid UTF-8 (a lone surrogate among them)
// becomes U+FFFD. Other characters are kept as they are. Room for the result is
// taken from the running script's memory budget first.
std::string jsonStringLiteral(std::string_view utf8);

}  // namespace ttscript
