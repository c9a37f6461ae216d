// A program folder for the reference-loader tests: writes card lists, INI files, the
// master list and the status list in code page 932 where the loaders look for them.
#pragma once

#include <string>

#include "app/folders.h"
#include "support/temp_dir.h"

namespace mirudana::testing {

class ReferenceFolder {
  public:
    ReferenceFolder() : folders(computeFolders(dir.path())) {}

    void cardFile(const std::string& name, const std::string& text) const {
        dir.writeCp932("system/cards/" + name, text);
    }
    void masterFile(const std::string& text) const { cardFile("master.dat", text); }
    void statusFile(const std::string& text) const {
        dir.writeCp932("system/state/state.dat", text);
    }

    TempDir dir;
    Folders folders;
};

}  // namespace mirudana::testing
