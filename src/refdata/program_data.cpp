#include "refdata/program_data.h"

#include "refdata/loaders.h"

namespace mirudana {

ProgramData loadProgramData(const std::string& programFolder, UserInterface& ui) {
    ProgramData result;
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
