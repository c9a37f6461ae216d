// Finds the appends `x = x & y` after which y is assigned anew before anything may
// read it, so that a run may take y's text over instead of copying it.
#pragma once

#include "ttscript/syntax_tree.h"

namespace ttscript {

// Sets Stmt::lastReadOfPiece on such appends in every body of the resolved
// `program`. One pass backwards over each body: linear in the script's size.
void markLastReadsOfPieces(Program& program);

}  // namespace ttscript
