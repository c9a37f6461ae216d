// The reader of the reference text files (card lists, master list, status list):
// a code page 932 file read as a plain sequence of comma- or line-separated fields.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace mirudana {

// Field rules:
// - a field ends at a comma, at CR LF, at a lone LF or at a lone CR (files saved on
//   other systems would otherwise read as one giant field), or at the end of the file;
// - a line end separates fields like a comma, so a blank line is one empty field;
// - spaces and tabs around an unquoted field are not part of it, and a double quote
//   inside an unquoted field is an ordinary character;
// - a field that begins with a double quote runs to the next double quote; what
//   stands between that closing quote and the next separator is dropped;
// - the bytes are decoded from code page 932 to UTF-8 field by field.
class FieldReader {
  public:
    explicit FieldReader(std::string bytes) : bytes_(std::move(bytes)) {}

    // True when no byte is left. Tested only before a record.
    bool atEnd() const { return pos_ >= bytes_.size(); }

    // The next field as UTF-8. Throws Failure 62 when the file ends where a field
    // should begin (a file ending just after a comma ends an empty last field) or
    // inside a quoted field.
    std::string next();

  private:
    // Moves past the separator at `end` (or to the end of the file).
    void consumeSeparator(std::size_t end);
    std::string decoded(std::string_view field);

    std::string bytes_;
    std::string scratch_;
    std::size_t pos_ = 0;
    bool afterComma_ = false;
};

}  // namespace mirudana
