#include "startup/startup.h"

#include "refdata/loaders.h"

namespace mirudana {

Startup startUp(const std::string& programFolder, UserInterface& ui) {
    Startup result;
    result.folders = computeFolders(programFolder);
    for (auto* loader : {LoadCardlist, LoadMasterlist, LoadStatusList}) {
        if (loader(result.references, result.folders, ui) == LoadVerdict::EndTool) {
            result.endTool = true;
            return result;
        }
    }
    result.references.buildIndex();
    return result;
}

}  // namespace mirudana
