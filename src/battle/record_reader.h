// Reads one battle record from the bytes of a battle file (".kvs"): the packed
// little-endian layout the game saves, texts in code page 932.
#pragma once

#include <string_view>

#include "battle/battle_record.h"

namespace mirudana {

// The record held by `bytes`; bytes after it are ignored.
//
// A file may end inside the record. Numbers and texts or lists that start at or
// beyond the end read as zero, empty and absent, and a number cut in half keeps
// its low byte. A cut inside a text's bytes or inside a list is a failure.
//
// Throws Failure for a cut as above and for a damaged or hostile record: a text
// or list that needs more bytes than are left, a negative dimension count, or
// list bounds whose upper bound does not fit 32 bits. Never allocates more than a
// small multiple of the size of `bytes`.
BattleRecord readBattleRecord(std::string_view bytes);

}  // namespace mirudana
