#include "battle/loaded_battle.h"

#include "app/file_system.h"
#include "app/input_file.h"
#include "battle/record_reader.h"

namespace mirudana {
namespace {

// A battle file read a piece at a time: only the bytes the record spans are read,
// however large the file.
class FileSource : public RecordSource {
  public:
    explicit FileSource(const std::string& path) : file_(path) {}
    std::size_t read(char* into, std::size_t n) override { return file_.read(into, n); }
    std::uint64_t size() const override { return file_.size(); }

  private:
    InputFile file_;
};

}  // namespace

void LoadedBattle::LoadBattleFile(const std::string& path) {
    FileLoaded = false;
    // Only ordinary files load: the file itself turns away anything but a regular file.
    if (isHiddenFile(path)) return;
    try {
        FileSource source(path);
        // Read into a fresh record so a failed read never leaves a half-replaced one.
        BattleRecord fresh = readBattleRecord(source);
        record = std::move(fresh);
        FileLoaded = true;
    } catch (...) {
        // A file that cannot be read is passed over silently; the run asks FileLoaded.
    }
}

}  // namespace mirudana
