// Sorts the battle file list by file title before a run.
#pragma once

#include "app/user_interface.h"
#include "battle/file_list.h"

namespace mirudana {

// Reorders `list` ascending by Path2FileTitle, comparing UTF-16 code units as
// unsigned numbers, into the order of an exchange sort: for each i, for each j
// after it, entries i and j exchanged when title i is greater; so it is not
// stable. That order is worked out first (by sorting, when no two titles are
// equal), so a long list takes no time to speak of; then the list is brought to
// it by exchanges, rewriting only lines that move.
// A failure ends the sort where it stands, each exchange made whole, and goes to
// the error reporter as "frmPrintout.ListSort".
void ListSort(BattleFileList& list, UserInterface& ui);

}  // namespace mirudana
