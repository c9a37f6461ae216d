// Loading battle files against reading their bytes, and sorting a long file list.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/user_interface.h"
#include "battle/kvs_writer.h"
#include "battle/list_sort.h"
#include "battle/loaded_battle.h"
#include "battle/record_reader.h"
#include "battle_generator.h"
#include "platform/file_system.h"

namespace {

namespace fs = std::filesystem;
using namespace mirudana;

constexpr int kBattleFiles = 10000;
constexpr std::size_t kBattleSize = 2048;

// Ten thousand battle files of about 2 KB in a folder of their own, made once.
class BattleFolder {
  public:
    BattleFolder() : folder_(fs::temp_directory_path() / "mirudana-bench-battles") {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        kvsgen::GeneratorOptions options;
        options.seed = 2024;
        options.sizeTarget = kBattleSize;
        kvsgen::BattleSeries series(options);
        for (int index = 1; index <= kBattleFiles; ++index) {
            std::string path = (folder_ / kvsgen::battleFileName(index)).string();
            std::string bytes = kvs::encodeBattleRecord(series.battle(index));
            std::ofstream(path, std::ios::binary)
                .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            paths_.push_back(path);
        }
    }
    ~BattleFolder() {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }

    const std::vector<std::string>& paths() const { return paths_; }

  private:
    fs::path folder_;
    std::vector<std::string> paths_;
};

const BattleFolder& battles() {
    static const BattleFolder folder;
    return folder;
}

void BM_ReadBytesOf10000Files(benchmark::State& state) {
    std::size_t bytes = 0;
    battles();  // made before the timing starts
    for (auto _ : state) {
        for (const std::string& path : battles().paths()) bytes += readWholeFile(path).size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_ReadBytesOf10000Files)->Unit(benchmark::kMillisecond);

void BM_LoadBattleFile10000(benchmark::State& state) {
    LoadedBattle battle;
    int loaded = 0;
    battles();
    for (auto _ : state) {
        for (const std::string& path : battles().paths()) {
            battle.LoadBattleFile(path);
            loaded += battle.FileLoaded ? 1 : 0;
        }
    }
    if (loaded != kBattleFiles * static_cast<int>(state.iterations())) {
        state.SkipWithError("a battle file did not load");
    }
}
BENCHMARK(BM_LoadBattleFile10000)->Unit(benchmark::kMillisecond);

void BM_ReadRecordFromMemory10000(benchmark::State& state) {
    std::vector<std::string> contents;
    for (const std::string& path : battles().paths()) contents.push_back(readWholeFile(path));
    for (auto _ : state) {
        for (const std::string& bytes : contents) benchmark::DoNotOptimize(readBattleRecord(bytes));
    }
}
BENCHMARK(BM_ReadRecordFromMemory10000)->Unit(benchmark::kMillisecond);

// As the loader reads: each record over the storage of the one before.
void BM_ReadRecordOverHeldRecord10000(benchmark::State& state) {
    std::vector<std::string> contents;
    for (const std::string& path : battles().paths()) contents.push_back(readWholeFile(path));
    BattleRecord held;
    for (auto _ : state) {
        for (const std::string& bytes : contents) {
            MemorySource source(bytes);
            readBattleRecord(source, held);
        }
        benchmark::DoNotOptimize(held);
    }
}
BENCHMARK(BM_ReadRecordOverHeldRecord10000)->Unit(benchmark::kMillisecond);

class SilentUserInterface : public UserInterface {
  public:
    void showWarning(const std::string&) override {}
    bool askYesNo(const std::string&, const std::string&) override { return false; }
    void copyToClipboard(const std::string&) override {}
    [[noreturn]] void endTool() override { std::abort(); }
};

void BM_ListSort(benchmark::State& state) {
    // Titles in a scrambled order, so about half the comparisons exchange.
    std::vector<std::string> entries;
    for (int k = 0; k < state.range(0); ++k) {
        entries.push_back("C:\\戦況\\" + std::to_string((k * 7919) % 100000) + "-battle.kvs");
    }
    SilentUserInterface ui;
    for (auto _ : state) {
        VectorFileList list(entries);
        ListSort(list, ui);
        benchmark::DoNotOptimize(list);
    }
}
BENCHMARK(BM_ListSort)->Arg(2000)->Arg(32767)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
