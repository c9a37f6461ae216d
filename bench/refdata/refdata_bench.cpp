// Measures the start-up load of a generated reference folder (20 card lists of 1,000
// cards, an INI file per card, 500 masters, 300 statuses) next to plainly reading the
// same files, and 1,000,000 name lookups, hits and misses alternating.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/file_system.h"
#include "refdata/program_data.h"

namespace mirudana {
namespace {

namespace fs = std::filesystem;

constexpr int kLists = 20;
constexpr int kCardsPerList = 1000;
constexpr int kMasters = 500;
constexpr int kStatuses = 300;

class SilentUserInterface : public UserInterface {
  public:
    void showWarning(const std::string&) override {}
    bool askYesNo(const std::string&, const std::string&) override { return false; }
    void copyToClipboard(const std::string&) override {}
    [[noreturn]] void endTool() override { throw std::runtime_error("tool ended"); }
};

void writeCp932(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << utf8ToCp932(text);
}

std::string cardID(int list, int card) {
    return "C" + std::to_string(list) + "-" + std::to_string(card);
}

// The generated program folder, removed when the bench ends.
class ReferenceFolder {
  public:
    ReferenceFolder() : root_(fs::temp_directory_path() / "mirudana-refdata-bench") {
        fs::remove_all(root_);
        fs::path cards = root_ / "system" / "cards";
        fs::create_directories(cards);
        fs::create_directories(root_ / "system" / "state");
        for (int list = 0; list < kLists; ++list) {
            std::string text;
            for (int card = 0; card < kCardsPerList; ++card) {
                std::string id = cardID(list, card);
                text += id + ",炎の剣士" + std::to_string(card) + ",F,攻撃力を上げる\r\n";
                writeCp932(cards / (id + ".ini"),
                           "[head]\r\nrare=" + std::to_string(card % 5) + "\r\n");
            }
            writeCp932(cards / ("list" + std::to_string(list) + ".kvl"), text);
        }
        std::string masters;
        for (int i = 0; i < kMasters; ++i) masters += "M" + std::to_string(i) + ",王,N\r\n";
        writeCp932(cards / "master.dat", masters);
        std::string statuses;
        for (int i = 0; i < kStatuses; ++i) statuses += "S" + std::to_string(i) + ",毒,!,1\r\n";
        writeCp932(root_ / "system" / "state" / "state.dat", statuses);
    }
    ~ReferenceFolder() {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

    std::string path() const { return root_.string(); }

  private:
    fs::path root_;
};

const ReferenceFolder& folder() {
    static ReferenceFolder generated;
    return generated;
}

void BM_StartupLoad(benchmark::State& state) {
    SilentUserInterface ui;
    const std::string home = folder().path();  // generated outside the timing
    for (auto _ : state) {
        ProgramData loaded = loadProgramData(home, ui);
        benchmark::DoNotOptimize(loaded);
    }
}
BENCHMARK(BM_StartupLoad)->Unit(benchmark::kMillisecond);

// The floor: list both folders and read every file they hold, byte for byte.
void BM_ReadAllFiles(benchmark::State& state) {
    Folders folders = computeFolders(folder().path());
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (const std::string& dir : {folders.CardFolder, folders.StateFolder}) {
            for (const std::string& name : listOrdinaryFiles(dir, "")) {
                bytes += readWholeFile(dir + name).size();
            }
        }
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_ReadAllFiles)->Unit(benchmark::kMillisecond);

void BM_MillionLookups(benchmark::State& state) {
    SilentUserInterface ui;
    ProgramData loaded = loadProgramData(folder().path(), ui);
    std::vector<std::string> ids;
    for (int i = 0; i < 1000; ++i) {
        ids.push_back(cardID(i % kLists, (i * 37) % kCardsPerList));
        ids.push_back("X" + std::to_string(i));  // a miss
    }
    for (auto _ : state) {
        std::size_t found = 0;
        for (int round = 0; round < 500; ++round) {
            for (const std::string& id : ids) {
                found += loaded.references.CardID2CardName(id, ui).size();
            }
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_MillionLookups)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mirudana

BENCHMARK_MAIN();
