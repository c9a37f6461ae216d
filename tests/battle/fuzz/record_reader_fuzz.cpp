// libFuzzer entry point: any bytes either read as a battle record or fail with a
// Failure; nothing else may escape, crash or trip a sanitizer.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/failure.h"
#include "battle/record_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        mirudana::BattleRecord record = mirudana::readBattleRecord(bytes);
        // Touch the lists the queries walk, through their bounds.
        const mirudana::TextList& hand = record.Server.Master.Hand;
        if (hand.present && hand.count > 0) (void)hand.at(hand.lowerBound);
        (void)hand.at(hand.upperBound());
    } catch (const mirudana::Failure&) {
    }
    return 0;
}
