// Runs real report scripts over real battle and reference files through the
// conversion run, with a recording user interface.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/codepage.h"
#include "battle/file_list.h"
#include "battle/loaded_battle.h"
#include "program_folder.h"
#include "report/conversion_run.h"
#include "report/script_host.h"
#include "startup/startup.h"
#include "support/fake_user_interface.h"

namespace mirudana::testing {

class ReportTest : public ::testing::Test {
  protected:
    ReportTest()
        : output(folder.dir.file("出力データ.html")),
          references(startUp(folder.dir.path(), ui).references) {}

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
        std::string script = folder.script("test.tts", scriptText);
        RunContext context = this->context();
        return runConversion(context, script, sort);
    }

    RunContext context() {
        return RunContext{battle, files, references, ui, [this] { return output; }, observer};
    }

    // The report as UTF-8 text, its closing CR LF removed.
    std::string report() const {
        std::string text = cp932ToUtf8(readBytes(output));
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
