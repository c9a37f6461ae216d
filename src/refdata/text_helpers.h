// Small text helpers the queries use next to the lookups.
#pragma once

#include <string>

#include "app/user_interface.h"

namespace mirudana {

// The part of `text` before its first "/", or all of it. A failure goes to the
// error reporter and gives the empty text.
std::string GetCardID(const std::string& text, UserInterface& ui);

// The value after the first ":" of the line where `key` first occurs in `text`
// (lines end at CR LF), the rest of that line when it holds no ":", or the empty
// text. Never reports anything.
std::string GetTextValue(const std::string& text, const std::string& key);

}  // namespace mirudana
