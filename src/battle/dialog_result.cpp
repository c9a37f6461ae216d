#include "battle/dialog_result.h"

#include "platform/paths.h"

namespace mirudana {

std::vector<std::string> dialogResultEntries(const std::string& result) {
    std::size_t end = result.find('\0');
    if (end == std::string::npos) return {result};
    const std::string folder = AddDirSep(result.substr(0, end));
    std::vector<std::string> entries;
    while (end != std::string::npos) {
        std::size_t begin = end + 1;
        end = result.find('\0', begin);
        entries.push_back(folder + result.substr(begin, end == std::string::npos ? std::string::npos
                                                                                 : end - begin));
    }
    return entries;
}

void appendDialogResult(BattleFileList& list, const std::string& result) {
    for (const std::string& entry : dialogResultEntries(result)) list.append(entry);
}

}  // namespace mirudana
