// The text forms the queries answer with: card-name lists, list counts, status
// texts and the security level read out of a battle's information text.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "app/user_interface.h"
#include "battle/battle_record.h"
#include "refdata/reference_data.h"

namespace mirudana {

// The name of the card `id`, or the empty text for an unknown identifier: the
// table's own text, so a join appends it without a copy.
const std::string& cardNameOrEmpty(const std::string& id, const ReferenceData& references);

// Every element's card name, in index order, joined with `separator`; an unknown
// or empty identifier gives an empty name between its separators. Nothing for an
// absent list.
std::optional<std::string> cardNameList(const TextList& list, const std::string& separator,
                                        const ReferenceData& references);

// Every element's identifier as stored, in index order, joined with `separator`.
// Nothing for an absent list.
std::optional<std::string> identifierList(const TextList& list, const std::string& separator);

// The number of elements the list holds, as decimal text ("0" for an absent list).
std::string elementCount(const TextList& list);

// The list's upper bound as decimal text ("0" for an absent list), except that a
// list whose upper bound is 1 answers "1" without an element 0 and "0" when
// element 0 is empty.
std::string listCount(const TextList& list);

// Each "/"-separated status identifier replaced by its name (the empty text for an
// unknown one), joined again by "/". The empty text has no parts and answers the
// empty text.
std::string statusText(const std::string& statusIds, const ReferenceData& references);

// The "SecurityLevel" of an information text as a 16-bit whole number. Only an
// optional "-" followed by decimal digits reads as a level: a fraction, a "+",
// surrounding spaces, an empty value or a number outside -32768..32767 give none.
std::optional<std::int16_t> securityLevel(const std::string& infoText);

// The modification time of the file at `path` as local "yyyy/mm/dd hh:nn:ss", or
// the empty text when the file cannot be reached.
std::string modificationTime(const std::string& path);
// `modified` as local "yyyy/mm/dd hh:nn:ss".
std::string modificationTime(std::chrono::system_clock::time_point modified);

}  // namespace mirudana
