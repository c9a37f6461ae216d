// Finding one text in another, as Split, Count, Item and Replace do many times over.
#pragma once

#include <cstddef>
#include <string_view>

namespace ttscript {

// Where `part` (not empty) first occurs in `text` at or after `from`, or npos.
std::size_t findText(std::string_view text, std::string_view part, std::size_t from = 0);

// The items `separator` separates in `text`, one at a time, as Split gives them:
// none in "", the whole text when the separator is "".
class SplitItems {
  public:
    SplitItems(std::string_view text, std::string_view separator)
        : text_(text), separator_(separator), done_(text.empty()) {}

    // Sets `item` to the next item; false when none is left.
    bool next(std::string_view& item);

  private:
    std::string_view text_;
    std::string_view separator_;
    std::size_t from_ = 0;
    bool done_;
};

}  // namespace ttscript
