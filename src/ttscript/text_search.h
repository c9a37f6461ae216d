// Finding one text in another, as Split, Count, Item and Replace do many times over.
#pragma once

#include <cstddef>
#include <string_view>

namespace ttscript {

// Where `part` (not empty) first occurs in `text` at or after `from`, or npos.
std::size_t findText(std::string_view text, std::string_view part, std::size_t from = 0);

}  // namespace ttscript
