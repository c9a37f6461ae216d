// Keeps the names a syntax tree refers to, copied out of the source text so that
// the text can go once parsed: a long script keeps a few bytes a name rather than
// its whole text, and a name costs its node a view rather than a string.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace ttscript {

class NameStore {
  public:
    // A copy of `name` that stays where it is for as long as the store lives, also
    // when the store is moved. Throws std::bad_alloc.
    std::string_view keep(std::string_view name);

    // Takes over the names `other` keeps: their views stay valid.
    void adopt(NameStore&& other);

  private:
    std::vector<std::unique_ptr<char[]>> chunks_;
    char* next_ = nullptr;  // free room at the end of the chunk being filled
    std::size_t room_ = 0;
};

}  // namespace ttscript
