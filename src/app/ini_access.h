// INIAccess: reads and writes values of one INI file at a time and remembers the
// last section used, so later calls may leave the section out.
#pragma once

#include <functional>
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
    // FileName is empty, no section is given nor stored, the file cannot be read, or
    // the section or key is missing. A missing file leaves Section unchanged.
    std::string GetINIData(const std::string& strKey, const std::string& strSection = "");

    // How GetINIData reads the file's bytes; readWholeFile until one is set. Failure 7
    // from it (a file too large) passes through GetINIData; any other failure is a
    // file that cannot be read.
    using FileReader = std::function<std::string(const std::string& path)>;
    void setFileReader(FileReader reader) { reader_ = std::move(reader); }

    // An existing file or folder.
    bool FileExists(const std::string& path) const;

  private:
    std::optional<std::string> programFolder_;
    FileReader reader_;
};

}  // namespace mirudana
