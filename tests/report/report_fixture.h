// Runs real report scripts over real battle and reference files through the
// conversion run, with a recording user interface.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "battle/file_list.h"
#include "battle/loaded_battle.h"
#include "platform/codepage.h"
#include "platform/native_path.h"
#include "refdata/program_data.h"
#include "report/conversion_run.h"
#include "report/script_host.h"
#include "support/fake_user_interface.h"
#include "support/program_folder.h"

namespace mirudana::testing {

// Pins the local time zone (a POSIX TZ text such as "JST-9") for one test, so
// local times read the same on every machine.
class ScopedTimeZone {
  public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) old_ = old;
        set(zone);
    }
    ~ScopedTimeZone() { set(old_.empty() ? nullptr : old_.c_str()); }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

  private:
    static void set(const char* zone) {
#ifdef _WIN32
        _putenv_s("TZ", zone == nullptr ? "" : zone);
        _tzset();
#else
        if (zone == nullptr) {
            unsetenv("TZ");
        } else {
            setenv("TZ", zone, 1);
        }
        tzset();
#endif
    }
    std::string old_;
};

// Sets a file's modification time to `unixSeconds` after 1970-01-01 UTC.
inline void setModificationTime(const std::string& path, std::int64_t unixSeconds) {
    using namespace std::chrono;
    std::filesystem::last_write_time(nativePath(path),
                                     file_clock::from_sys(sys_seconds(seconds(unixSeconds))));
}

class ReportTest : public ::testing::Test {
  protected:
    ReportTest()
        : output(folder.dir.file("出力データ.html")),
          references(loadProgramData(folder.dir.path(), ui).references) {}

    // Runs `scriptText` over `battles` (written first) and returns the outcome.
    RunResult run(const std::string& scriptText, const std::vector<BattleRecord>& battles,
                  bool sort = false) {
        std::vector<std::string> paths;
        for (std::size_t i = 0; i < battles.size(); ++i) {
            paths.push_back(folder.battle("b" + std::to_string(i + 1) + ".kvs", battles[i]));
        }
        files = VectorFileList(paths);
        return runScript(scriptText, sort);
    }

    // Runs `scriptText` over the list as it stands.
    RunResult runScript(const std::string& scriptText, bool sort = false) {
        return runFile(folder.script("test.tts", scriptText), sort);
    }

    // Runs the script file at `path` over the list as it stands.
    RunResult runFile(const std::string& path, bool sort = false) {
        RunContext context = this->context();
        return runConversion(context, path, sort);
    }

    RunContext context() {
        return RunContext{battle, files, references, ui, [this] { return output; }, observer};
    }

    // The report as UTF-8 text, its closing CR LF removed; `cp932` says how it
    // was written.
    std::string report(bool cp932 = true) const {
        std::string text = cp932 ? cp932ToUtf8(readBytes(output)) : readBytes(output);
        EXPECT_TRUE(text.ends_with("\r\n")) << text;
        if (text.ends_with("\r\n")) text.resize(text.size() - 2);
        return text;
    }

    ProgramFolder folder;
    FakeUserInterface ui;
    std::string output;
    ReferenceData references;
    LoadedBattle battle;
    VectorFileList files;
    RunObserver* observer = nullptr;
};

}  // namespace mirudana::testing
