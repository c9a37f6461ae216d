// INIAccess: reads and writes values of one INI file at a time and remembers the
// last section used, so later calls may leave the section out.
#pragma once

#include <optional>
#include <string>

namespace mirudana {

class INIAccess {
  public:
    // SetAppPathFilename puts file names in the folder of the running program.
    INIAccess() = default;

    // SetAppPathFilename puts file names in `programFolder` instead.
    explicit INIAccess(std::string programFolder);

    // Full path of the INI file.
    std::string FileName;

    // The section used when a call names none; a call that names one stores it here.
    std::string Section;

    // Sets FileName to `strFileName` in the program folder.
    void SetAppPathFilename(const std::string& strFileName);

    // Writes `strData` under `strKey`, creating the file when it is missing. False
    // when FileName is empty, no section is given nor stored, or the write fails.
    bool SetINIData(const std::string& strKey, const std::string& strData,
                    const std::string& strSection = "");

    // The value under `strKey`, cut to 255 bytes of code page 932; empty when
    // FileName is empty, no section is given nor stored, or the file, section or key
    // is missing. A missing file leaves Section unchanged.
    std::string GetINIData(const std::string& strKey, const std::string& strSection = "");

    // An existing file or folder.
    bool FileExists(const std::string& path) const;

  private:
    std::optional<std::string> programFolder_;
};

}  // namespace mirudana
