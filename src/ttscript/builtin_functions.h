// The built-ins that live outside builtins.cpp, for its one table. Each takes the
// arguments the resolver has counted against the table and throws ScriptFailure on
// bad ones.
#pragma once

#include "ttscript/arguments.h"
#include "ttscript/value.h"

namespace ttscript::builtin {

using ttscript::Arguments;

// Lists and dictionaries
Value makeList(Arguments a);
Value makeDict(Arguments a);
Value add(Arguments a);
Value exists(Arguments a);
Value remove(Arguments a);
Value keys(Arguments a);
Value size(Arguments a);
Value join(Arguments a);
Value split(Arguments a);
Value sort(Arguments a);
Value keysByValue(Arguments a);
Value copy(Arguments a);
Value lookup(Arguments a);

// Numbers and characters
Value round(Arguments a);
Value format(Arguments a);
Value maximum(Arguments a);
Value minimum(Arguments a);
Value absolute(Arguments a);
Value chrW(Arguments a);
Value ascW(Arguments a);

}  // namespace ttscript::builtin
