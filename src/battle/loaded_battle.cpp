#include "battle/loaded_battle.h"

#include "battle/record_reader.h"
#include "platform/input_file.h"

namespace mirudana {
namespace {

// Bytes read from a battle file at a time: a whole file of usual size in one call.
constexpr std::size_t kChunk = 64 * 1024;

// A battle file read a piece at a time: only the bytes the record spans are read,
// however large the file.
class FileSource : public RecordSource {
  public:
    FileSource(const std::string& path, std::vector<char>& buffer) : file_(path), buffer_(buffer) {
        buffer_.resize(kChunk);
    }
    std::string_view next() override {
        return std::string_view(buffer_.data(), file_.read(buffer_.data(), buffer_.size()));
    }
    std::uint64_t size() const override { return file_.size(); }
    const InputFile& file() const { return file_; }

  private:
    InputFile file_;
    std::vector<char>& buffer_;
};

}  // namespace

void LoadedBattle::LoadBattleFile(const std::string& path) {
    FileLoaded = false;
    try {
        FileSource source(path, buffer_);
        // Only ordinary files load: the file itself turns away anything but a regular
        // file, and tells whether it is hidden.
        if (source.file().hidden()) return;
        // Read beside the held record so a failed read never leaves a half-replaced one.
        readBattleRecord(source, next_);
        record = std::move(next_);
        FileModified = source.file().modified();
        FileLoaded = true;
    } catch (...) {
        // A file that cannot be read is passed over silently; the run asks FileLoaded.
    }
}

}  // namespace mirudana
