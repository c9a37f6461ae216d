// kvsgen: writes plausible battle files made from a seed, for the sample data
// and the benches.
//   kvsgen --seed N --count K --out DIR [--first I] [--size-target BYTES]
//          [--cards N] [--masters N] [--statuses N] [--awkward-texts 1]
#include <charconv>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "battle/kvs_writer.h"
#include "battle_generator.h"

namespace {

constexpr const char* kUsage =
    "usage: kvsgen --seed N --count K --out DIR [--first I] [--size-target BYTES]\n"
    "              [--cards N] [--masters N] [--statuses N] [--awkward-texts 1]\n"
    "Writes battles I to I+K-1 (I is 1 unless given) of one player's history as\n"
    "DIR/battle-0001.kvs ..., with cards C0001.., masters M01.., statuses S01..\n"
    "The player \"ミナト\" saved every battle, in evening sessions (Japan time) from\n"
    "2024-04-01; each file's modification time is when it was saved.\n"
    "--awkward-texts 1 gives every third battle names that need quoting.\n";

struct Arguments {
    mirudana::kvsgen::GeneratorOptions options;
    int count = 0;
    int first = 1;
    std::string out;
};

bool parseNumber(std::string_view text, std::uint64_t& value) {
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// The whole-number option `name` within [1, most].
bool parseCount(std::string_view text, std::uint64_t most, int& value) {
    std::uint64_t number = 0;
    if (!parseNumber(text, number) || number < 1 || number > most) return false;
    value = static_cast<int>(number);
    return true;
}

bool parseArguments(int argc, char** argv, Arguments& args) {
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string_view name = argv[i];
        std::string_view value = argv[i + 1];
        std::uint64_t size = 0;
        bool ok = true;
        if (name == "--seed") {
            ok = parseNumber(value, args.options.seed);
        } else if (name == "--count") {
            ok = parseCount(value, 99999, args.count);
        } else if (name == "--first") {
            ok = parseCount(value, 99999, args.first);
        } else if (name == "--out") {
            args.out = value;
        } else if (name == "--size-target") {
            ok = parseNumber(value, size);
            args.options.sizeTarget = static_cast<std::size_t>(size);
        } else if (name == "--cards") {
            ok = parseCount(value, 9999, args.options.ids.cards);
        } else if (name == "--masters") {
            ok = parseCount(value, 99, args.options.ids.masters);
        } else if (name == "--awkward-texts") {
            ok = value == "1";
            args.options.awkwardTexts = ok;
        } else if (name == "--statuses") {
            ok = parseCount(value, 99, args.options.ids.statuses);
        } else {
            ok = false;
        }
        if (!ok) return false;
    }
    return argc % 2 == 1 && args.count > 0 && !args.out.empty();
}

// The battle's own time, so reports that show file dates are the same on every
// machine and every run.
std::filesystem::file_time_type fileTime(std::int64_t secondsSince1970) {
    using namespace std::chrono;
    return file_clock::from_sys(sys_seconds(seconds(secondsSince1970)));
}

}  // namespace

int main(int argc, char** argv) {
    Arguments args;
    if (!parseArguments(argc, argv, args)) {
        std::cerr << kUsage;
        return 2;
    }
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(args.out, ec);
    mirudana::kvsgen::BattleSeries series(args.options);
    for (int index = args.first; index < args.first + args.count; ++index) {
        fs::path path = fs::path(args.out) / mirudana::kvsgen::battleFileName(index);
        std::string bytes = mirudana::kvs::encodeBattleRecord(series.battle(index));
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        fs::last_write_time(path, fileTime(series.savedAt(index)), ec);
        if (!out || ec) {
            std::cerr << "kvsgen: cannot write " << path.string() << "\n";
            return 1;
        }
    }
    return 0;
}
