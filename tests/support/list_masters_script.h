// The report script of the windows' run tests: lists the server master of every
// battle, then hands the list over as the report.
#pragma once

namespace mirudana::testing {

inline constexpr const char* kListMasters =
    "text = \"\"\n"
    "While [ファイル有無] = \"1\"\n"
    "    text = text & [マスター名] & \";\"\n"
    "    RunCmd(\"ロード\")\n"
    "Wend\n"
    "[保存データ] = text\n";

}  // namespace mirudana::testing
