// Sorts the battle file list by file title before a run.
#pragma once

#include "app/user_interface.h"
#include "battle/file_list.h"

namespace mirudana {

// Reorders `list` ascending by Path2FileTitle, comparing UTF-16 code units as
// unsigned numbers. An exchange sort: for each i, for each j after it, entries i
// and j are exchanged when title i is greater; so it is not stable, and only
// exchanged lines are rewritten. Titles are computed once, up front.
// A failure ends the sort where it stands and goes to the error reporter as
// "frmPrintout.ListSort".
void ListSort(BattleFileList& list, UserInterface& ui);

}  // namespace mirudana
