// libFuzzer entry point: any bytes either read as a battle record or fail with a
// Failure; nothing else may escape, crash, trip a sanitizer or allocate beyond a
// small multiple of the bytes the record spans.
//
// The first byte picks how the rest reaches the reader, so the corpus also holds
// the files a user meets: 0 as a whole file, 1 as the start of a large sparse file
// (zeros up to 1 MiB follow), 2 as a file whose reading fails after these bytes
// (unreadable part-way, or shrunk while read). Seeds: tools/run-fuzz.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

#include "battle/record_reader.h"
#include "platform/failure.h"

namespace {

constexpr std::uint64_t kSparseSize = 1 << 20;

class FuzzSource : public mirudana::RecordSource {
  public:
    FuzzSource(std::string_view bytes, int mode)
        : bytes_(bytes), total_(bytes.size()), mode_(mode) {}

    std::string_view next() override {
        if (!bytes_.empty()) return std::exchange(bytes_, std::string_view());
        if (mode_ == 2) throw mirudana::Failure(mirudana::failure::kDeviceIO);
        if (mode_ != 1) return {};
        // Sparse: zeros up to the claimed size, a piece at a time.
        static const char kZeros[4096] = {};
        std::size_t zeros = static_cast<std::size_t>(std::min<std::uint64_t>(
            sizeof kZeros, kSparseSize - std::min(kSparseSize, zerosFrom_)));
        zerosFrom_ += zeros;
        return std::string_view(kZeros, zeros);
    }

    std::uint64_t size() const override { return mode_ == 0 ? total_ : kSparseSize; }

  private:
    std::string_view bytes_;
    std::uint64_t total_;
    int mode_;
    std::uint64_t zerosFrom_ = total_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    FuzzSource source(bytes, data[0] % 3);
    try {
        mirudana::BattleRecord record;
        mirudana::readBattleRecord(source, record);
        // Touch the lists the queries walk, through their bounds.
        const mirudana::TextList& hand = record.Server.Master.Hand;
        if (hand.present && hand.count > 0) (void)hand.at(hand.lowerBound);
        (void)hand.at(hand.upperBound());
    } catch (const mirudana::Failure&) {
    }
    return 0;
}
