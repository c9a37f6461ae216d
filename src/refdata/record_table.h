// How the reference loaders grow their tables: one slot per list or record, with the
// 16-bit index limit of the tables, and the letter codes of their columns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "platform/failure.h"
#include "refdata/field_reader.h"

namespace mirudana {

// Table indices are 16-bit: indices 0 to 32,767.
inline constexpr std::size_t kMaxTableEntries = 32768;

// The slot at `index`, appending it when the table is exactly that long. A table that
// starts with a blank element has it filled by index 0. Throws Failure 6 beyond the
// index limit.
template <typename Element>
Element& tableSlot(std::vector<Element>& table, std::size_t index) {
    if (index >= kMaxTableEntries) throw Failure(failure::kOverflow);
    if (index == table.size()) table.emplace_back();
    return table[index];
}

// Reads records until the end of the file, record n into slot n; `fill` reads one
// record's fields into its slot, so a record cut short by a failure keeps what it
// read. Returns the number of records.
template <typename Element, typename Fill>
std::size_t readRecords(FieldReader& reader, std::vector<Element>& table, Fill fill) {
    std::size_t count = 0;
    for (; !reader.atEnd(); ++count) fill(reader, tableSlot(table, count));
    return count;
}

// The position of `text` among `codes` (exact comparison), or `otherwise`.
inline std::int16_t columnCode(std::string_view text, std::initializer_list<std::string_view> codes,
                               std::int16_t otherwise) {
    std::int16_t code = 0;
    for (std::string_view candidate : codes) {
        if (text == candidate) return code;
        ++code;
    }
    return otherwise;
}

}  // namespace mirudana
