#include "app/ini_access.h"

#include <exception>
#include <utility>

#include "platform/failure.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/private_profile.h"

namespace mirudana {

namespace {
// The platform's profile functions read into a buffer of this many bytes.
constexpr std::size_t kValueBufferSize = 256;
}  // namespace

INIAccess::INIAccess(std::string programFolder) : programFolder_(std::move(programFolder)) {}

void INIAccess::SetAppPathFilename(const std::string& strFileName) {
    FileName = AddDirSep(programFolder_ ? *programFolder_ : programFolder()) + strFileName;
}

bool INIAccess::SetINIData(const std::string& strKey, const std::string& strData,
                           const std::string& strSection) {
    if (FileName.empty()) return false;
    if (strSection.empty() && Section.empty()) return false;
    if (!strSection.empty()) Section = strSection;
    return writePrivateProfileString(Section, strKey, strData, FileName);
}

std::string INIAccess::GetINIData(const std::string& strKey, const std::string& strSection) {
    if (FileName.empty()) return {};
    if (strSection.empty() && Section.empty()) return {};
    std::string content;
    try {
        content = reader_ ? reader_(FileName) : readWholeFile(FileName);
    } catch (const std::exception& e) {
        const auto* reason = dynamic_cast<const Failure*>(&e);
        if (reason != nullptr && reason->number() == failure::kOutOfMemory) throw;
        // Read first, so a file that is there costs no look of its own.
        if (!FileExists(FileName)) return {};
    }
    if (!strSection.empty()) Section = strSection;
    return privateProfileString(content, Section, strKey, kValueBufferSize);
}

bool INIAccess::FileExists(const std::string& path) const { return mirudana::FileExists(path); }

}  // namespace mirudana
