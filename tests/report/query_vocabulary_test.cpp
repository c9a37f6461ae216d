// The answers a report script gets for every query key, read back from the report
// the script writes, and the cases that leave the script's value untouched.
#include <map>
#include <optional>
#include <sstream>

#include "report_fixture.h"

namespace mirudana::testing {
namespace {

const std::vector<std::string> kKeys = {"アプリ名",
                                        "セキュリティレベル",
                                        "ファイル有無",
                                        "ターン数",
                                        "サイド",
                                        "対象",
                                        "手札",
                                        "手札枚数",
                                        "山札",
                                        "山札枚数",
                                        "捨札",
                                        "捨札枚数",
                                        "マスター名",
                                        "マスター種類",
                                        "マスター体力",
                                        "マスターステータス",
                                        "ストーン",
                                        "フェイズ",
                                        "モンスター名",
                                        "モンスター状態",
                                        "モンスターレベル",
                                        "モンスター体力",
                                        "モンスターステータス",
                                        "バージョン",
                                        "バージョン ",
                                        ""};

// Where a key is split to be asked as a literal start and the rest: after the ":"
// of a key with an identifier (a start the host resolves), else after its first
// character (one it does not).
std::size_t startLength(const std::string& key) {
    std::size_t colon = key.find(':');
    if (colon != std::string::npos) return colon + 1;
    if (key.empty()) return 0;
    auto first = static_cast<unsigned char>(key[0]);
    return first < 0x80 ? 1 : first < 0xE0 ? 2 : first < 0xF0 ? 3 : 4;
}

// A script asking every key on both sides, one "side key<TAB>answer" line each. Each
// key is also asked by a variable (which the host answers by its text, unresolved)
// and as a literal start joined to the rest: lines "side key (by text)" and "side
// key (by start)".
std::string askEveryKey(const std::vector<std::string>& keys = kKeys) {
    std::string script = "out = \"\"\n";
    for (const char* side : {"サーバー", "クライアント"}) {
        script += std::string("[対象] = \"") + side + "\"\n";
        for (const std::string& key : keys) {
            std::string line = std::string("out = out & \"") + side + " " + key;
            script += line + "\" & Tab & GetData(\"" + key + "\") & Lf\n";
            script += "k = \"" + key + "\"\n";
            script += line + " (by text)\" & Tab & GetData(k) & Lf\n";
            std::size_t start = startLength(key);
            script += "rest = \"" + key.substr(start) + "\"\n";
            script += line + " (by start)\" & Tab & GetData(\"" + key.substr(0, start) +
                      "\" & rest) & Lf\n";
        }
    }
    return script + "[保存データ] = out\n";
}

// Every key asked the other ways answers as the key written whole.
void expectAskedAlike(const std::map<std::string, std::string>& answers) {
    for (const auto& [asked, answer] : answers) {
        std::size_t way = asked.find(" (by ");
        if (way == std::string::npos) continue;
        SCOPED_TRACE(asked);
        EXPECT_EQ(answer, answers.at(asked.substr(0, way)));
    }
}

std::map<std::string, std::string> answersIn(const std::string& report) {
    std::map<std::string, std::string> answers;
    std::istringstream lines(report);
    for (std::string line; std::getline(lines, line);) {
        auto tab = line.find('\t');
        answers[line.substr(0, tab)] = tab == std::string::npos ? "" : line.substr(tab + 1);
    }
    return answers;
}

void expectAnswers(const std::map<std::string, std::string>& answers,
                   const std::map<std::string, std::string>& expected) {
    for (const auto& [key, answer] : expected) {
        SCOPED_TRACE(key);
        ASSERT_TRUE(answers.contains(key));
        EXPECT_EQ(answers.at(key), answer);
    }
}

BattleRecord fullBattle() {
    BattleRecord record;
    record.TurnCount = 12;
    record.InfoText = "Player:x\r\nSecurityLevel:1\r\nnowplay:s\r\n";
    MasterRecord& server = record.Server.Master;
    server.Name = "アリス";
    server.Deck.Master = "M1";
    server.Hand = kvs::textListOf({"C1", "C2", "C3"});
    server.DrawPile = kvs::textListOf({"C3"});
    server.DiscardPile = kvs::textListOf({"C1", "X9", "C2"});
    server.HitPoints = 20;
    server.Stones = -3;
    server.FirstPlayer = true;
    server.Status = "S1/S2";
    record.Server.Monsters[0] = {"C1/7", false, 2, 5, "S1"};
    record.Server.Monsters[1] = {"C2", true, 4, 9, "S2/S1"};
    record.Server.Monsters[3] = {"", true, 1, 1, ""};
    MasterRecord& client = record.Client.Master;
    client.Name = "ボブ";
    client.Deck.Master = "C1";
    client.Hand = kvs::textListOf({"DUP"});
    client.HitPoints = 7;
    return record;
}

TEST_F(ReportTest, AnswersEveryKeyFromTheTargetSide) {
    ASSERT_EQ(run(askEveryKey(), {fullBattle()}), RunResult::Completed) << ui.warnings.at(0);
    auto answers = answersIn(report());
    const std::map<std::string, std::string> expected = {
        {"サーバー アプリ名", "ゾルベックOnline ミルダナ"},
        {"サーバー セキュリティレベル", "1"},
        {"サーバー ファイル有無", "1"},
        {"サーバー ターン数", "12"},
        {"サーバー サイド", "サーバー"},
        {"サーバー 対象", "サーバー"},
        {"サーバー 手札", "炎の仔竜、氷の魔女、森の小人"},
        {"サーバー 手札枚数", "2"},
        {"サーバー 山札", ""},  // security level 1 shows the hand only
        {"サーバー 山札枚数", "0"},
        {"サーバー 捨札", "炎の仔竜,,氷の魔女"},
        {"サーバー 捨札枚数", "2"},
        {"サーバー マスター名", "アリス"},
        {"サーバー マスター種類", "炎帝"},
        {"サーバー マスター体力", "20"},
        {"サーバー マスターステータス", "毒/麻痺"},
        {"サーバー ストーン", "-3"},
        {"サーバー フェイズ", "先攻"},
        {"サーバー モンスター名", "炎の仔竜,氷の魔女,,"},
        {"サーバー モンスター状態", "1,2,0,0"},
        {"サーバー モンスターレベル", "2,4,0,1"},
        {"サーバー モンスター体力", "5,9,0,1"},
        {"サーバー モンスターステータス", "毒,麻痺/毒,,"},
        {"サーバー バージョン", "True"},
        {"サーバー バージョン ", "True"},
        {"サーバー ", "True"},
        {"クライアント 対象", "クライアント"},
        {"クライアント サイド", "サーバー"},
        {"クライアント 手札", "先のリスト"},
        {"クライアント 手札枚数", "0"},
        {"クライアント 山札", ""},  // absent: no answer
        {"クライアント 山札枚数", "0"},
        {"クライアント 捨札枚数", "0"},
        {"クライアント マスター名", "ボブ"},
        {"クライアント マスター種類", "炎の仔竜"},  // card lists come before masters
        {"クライアント マスター体力", "7"},
        {"クライアント マスターステータス", ""},
        {"クライアント フェイズ", "後攻"},
        {"クライアント モンスター名", ",,,"},
        {"クライアント モンスター状態", "0,0,0,0"},
        {"クライアント モンスターステータス", ",,,"},
    };
    expectAnswers(answers, expected);
    expectAskedAlike(answers);
    EXPECT_TRUE(ui.warnings.empty());
    EXPECT_TRUE(ui.questions.empty());
}

// The keys for grouping and looking up, asked of real files: the deck, the
// identifier forms, the reference attributes and the battle file itself.
TEST_F(ReportTest, AnswersTheDeckFileAndReferenceKeys) {
    folder.dir.writeCp932("system/cards/C2.ini", "[head]\r\nrare=3\r\n");
    folder.dir.writeCp932("system/cards/c.kvl", "C4,雷の槍,M,x\r\nC5,謎の札,B,x\r\n");
    references = loadProgramData(folder.dir.path(), ui).references;
    BattleRecord record = fullBattle();
    record.InfoText = "SecurityLevel:2\r\nnowplay:c";
    DeckRecord& deck = record.Server.Master.Deck;
    deck = {"炎の速攻", "アリス", 3, kvs::textListOf({"C1", "C2", "C2", "X9"}, 1), "M1"};
    record.Client.Master.Deck.Cards = kvs::textListOf({});
    const std::vector<std::string> keys = {"デッキ名",
                                           "デッキ作者",
                                           "デッキタイプ",
                                           "デッキ",
                                           "デッキ枚数",
                                           "デッキID",
                                           "手札ID",
                                           "山札ID",
                                           "捨札ID",
                                           "マスターID",
                                           "マスターステータスID",
                                           "モンスターID",
                                           "モンスターステータスID",
                                           "ファイル名",
                                           "ファイルパス",
                                           "ファイル日時",
                                           "ファイル番号",
                                           "ファイル数",
                                           "カード名:C3",
                                           "カード種類:C4",
                                           "カード種類:C5",
                                           "カード種類:M1",
                                           "カード種類:X9",
                                           "カードレア度:C2",
                                           "カードレア度:C1",
                                           "カードリスト:C3",
                                           "カードリスト:M1",
                                           "ステータス種類:S1",
                                           "ステータス種類:S9",
                                           "カード種類",
                                           "デッキ名:C1"};
    ScopedTimeZone tokyo("JST-9");
    ASSERT_EQ(run(askEveryKey(keys), {record}), RunResult::Completed);
    auto answers = answersIn(report());
    const std::map<std::string, std::string> first = {
        {"サーバー デッキ名", "炎の速攻"},
        {"サーバー デッキ作者", "アリス"},
        {"サーバー デッキタイプ", "3"},
        {"サーバー デッキ", "炎の仔竜、氷の魔女、氷の魔女、"},
        {"サーバー デッキ枚数", "4"},  // elements, not the upper bound 4 from 1
        {"サーバー デッキID", "C1,C2,C2,X9"},
        {"サーバー 手札ID", "C1,C2,C3"},
        {"サーバー 山札ID", "C3"},
        {"サーバー 捨札ID", "C1,X9,C2"},
        {"サーバー マスターID", "M1"},
        {"サーバー マスターステータスID", "S1/S2"},
        {"サーバー モンスターID", "C1,C2,,"},
        {"サーバー モンスターステータスID", "S1,S2/S1,,"},
        {"サーバー ファイル名", "b1.kvs"},
        {"サーバー ファイル番号", "1"},
        {"サーバー ファイル数", "1"},
        {"クライアント デッキ", ""},
        {"クライアント デッキ枚数", "0"},
        {"クライアント デッキID", ""},
        {"クライアント 捨札ID", ""},  // absent: no answer
        {"クライアント マスターID", "C1"},
    };
    expectAnswers(answers, first);
    EXPECT_EQ(answers["サーバー ファイルパス"], files.entryAt(0));
    EXPECT_EQ(answers["サーバー ファイル日時"].size(), 19u);

    std::string second = folder.battle("b2.kvs", namedBattle("二戦目"));
    setModificationTime(second, 1711933200);  // 2024-04-01 01:00:00 UTC
    files.append(second);
    ASSERT_EQ(runScript("RunCmd(\"ロード\")\n" + askEveryKey(keys)), RunResult::Completed);
    answers = answersIn(report());
    const std::map<std::string, std::string> expected = {
        {"サーバー デッキ名", ""},  // the second battle is loaded now
        {"サーバー ファイル名", "b2.kvs"},
        {"サーバー ファイル日時", "2024/04/01 10:00:00"},
        {"サーバー ファイル番号", "2"},
        {"サーバー ファイル数", "2"},
        {"サーバー カード名:C3", "森の小人"},
        {"サーバー カード種類:C4", "M"},
        {"サーバー カード種類:C5", "B"},
        {"サーバー カード種類:M1", "N"},
        {"サーバー カード種類:X9", ""},
        {"サーバー カードレア度:C2", "3"},
        {"サーバー カードレア度:C1", "0"},
        {"サーバー カードリスト:C3", "b"},
        {"サーバー カードリスト:M1", "master"},
        {"サーバー ステータス種類:S1", "!"},
        {"サーバー ステータス種類:S9", ""},
        {"サーバー カード種類", "True"},
        {"サーバー デッキ名:C1", "True"},
    };
    expectAnswers(answers, expected);
    expectAskedAlike(answers);

    EXPECT_TRUE(ui.warnings.empty());
}

// Direct questions to the host, so that "no answer" shows as the untouched value.
class HostQueryTest : public ReportTest {
  protected:
    std::string ask(const std::string& key) {
        RunContext context = this->context();
        ScriptHost host(context);
        std::string result = kUntouched;
        host.GetData(key, result);
        return result;
    }
    static constexpr const char* kUntouched = "(untouched)";
};

TEST_F(HostQueryTest, SecurityLevelDecidesWhatThePilesShow) {
    struct Case {
        const char* info;
        const char* hand;
        const char* drawPile;
    };
    const Case cases[] = {
        {"SecurityLevel:0", "", ""},
        {"SecurityLevel:1", "炎の仔竜", ""},
        {"SecurityLevel:2", "炎の仔竜", "森の小人"},
        {"SecurityLevel:32767", "炎の仔竜", "森の小人"},
        {"SecurityLevel:-32768", "", ""},
        {"SecurityLevel:-0", "", ""},
        {"SecurityLevel:002", "炎の仔竜", "森の小人"},
        {"SecurityLevel:32768", kUntouched, kUntouched},
        {"SecurityLevel:1.5", kUntouched, kUntouched},
        {"SecurityLevel:+1", kUntouched, kUntouched},
        {"SecurityLevel: 1", kUntouched, kUntouched},
        {"SecurityLevel:1 ", kUntouched, kUntouched},
        {"SecurityLevel:-", kUntouched, kUntouched},
        {"SecurityLevel:abc", kUntouched, kUntouched},
        {"SecurityLevel:1:2", kUntouched, kUntouched},
        {"SecurityLevel:", kUntouched, kUntouched},
        {"nowplay:s", kUntouched, kUntouched},
    };
    battle.record.Server.Master.Hand = kvs::textListOf({"C1"});
    battle.record.Server.Master.DrawPile = kvs::textListOf({"C3"});
    battle.record.Server.Master.Deck.Cards = kvs::textListOf({"C3"});
    // The other forms of the hand and draw pile, and the deck that gives the draw
    // pile away, keep the same gates.
    auto asId = [](std::string name) {
        return name == "炎の仔竜" ? "C1" : name == "森の小人" ? "C3" : name;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.info);
        battle.record.InfoText = c.info;
        EXPECT_EQ(ask("手札"), c.hand);
        EXPECT_EQ(ask("山札"), c.drawPile);
        EXPECT_EQ(ask("デッキ"), c.drawPile);
        EXPECT_EQ(ask("手札ID"), asId(c.hand));
        EXPECT_EQ(ask("山札ID"), asId(c.drawPile));
        EXPECT_EQ(ask("デッキID"), asId(c.drawPile));
        EXPECT_EQ(ask("手札枚数"), "0");
    }
    battle.record.InfoText = "nowplay:c";
    EXPECT_EQ(ask("セキュリティレベル"), "");
}

TEST_F(HostQueryTest, CountsAnswerTheUpperBound) {
    struct Case {
        const char* name;
        TextList list;
        const char* count;
    };
    TextList absent;
    TextList empty = kvs::textListOf({});
    TextList fromOne = kvs::textListOf({"C1"}, 1);
    TextList fromTwoEmpty;  // upper bound 1 without an element 0
    fromTwoEmpty.present = true;
    fromTwoEmpty.lowerBound = 2;
    const Case cases[] = {
        {"absent", absent, "0"},
        {"no elements", empty, "-1"},
        {"0 to 0", kvs::textListOf({"C1"}), "0"},
        {"0 to 1, element 0 empty", kvs::textListOf({"", "C1"}), "0"},
        {"0 to 1, element 0 filled", kvs::textListOf({"C1", ""}), "1"},
        {"1 to 1", fromOne, "1"},
        {"2 to 1", fromTwoEmpty, "1"},
        {"0 to 3", kvs::textListOf({"", "", "", ""}), "3"},
        {"5 to 7", kvs::textListOf({"C1", "C2", "C3"}, 5), "7"},
    };
    battle.record.InfoText = "SecurityLevel:2";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        battle.record.Server.Master.Hand = c.list;
        battle.record.Server.Master.DrawPile = c.list;
        battle.record.Server.Master.DiscardPile = c.list;
        EXPECT_EQ(ask("手札枚数"), c.count);
        EXPECT_EQ(ask("山札枚数"), c.count);
        EXPECT_EQ(ask("捨札枚数"), c.count);
    }
    battle.record.Server.Master.Hand = absent;
    battle.record.Server.Master.DiscardPile = absent;
    EXPECT_EQ(ask("手札"), kUntouched);
    EXPECT_EQ(ask("捨札"), kUntouched);
    battle.record.Server.Master.DiscardPile = empty;
    EXPECT_EQ(ask("捨札"), "");
}

TEST_F(HostQueryTest, StatusTextsAndSidesFollowTheirRules) {
    struct Case {
        const char* status;
        const char* text;
    };
    const Case statuses[] = {{"", ""},         {"S1", "毒"},  {"S1/S2", "毒/麻痺"}, {"/S1", "/毒"},
                             {"S1//", "毒//"}, {"X/s1", "/"}, {"S1 ", ""}};
    for (const Case& c : statuses) {
        SCOPED_TRACE(c.status);
        battle.record.Server.Master.Status = c.status;
        EXPECT_EQ(ask("マスターステータス"), c.text);
    }
    const Case sides[] = {{"nowplay:s", "サーバー"},
                          {"nowplay:c", "クライアント"},
                          {"nowplay:S", "クライアント"},
                          {"", "クライアント"},
                          {"a:b\r\nnowplay:s", "サーバー"}};
    for (const Case& c : sides) {
        SCOPED_TRACE(c.status);
        battle.record.InfoText = c.status;
        EXPECT_EQ(ask("サイド"), c.text);
    }
}

TEST_F(HostQueryTest, AnswersFromTheHeldRecordAfterAFailedLoad) {
    battle.record = namedBattle("前の記録");
    battle.FileLoaded = false;
    EXPECT_EQ(ask("ファイル有無"), "0");
    EXPECT_EQ(ask("マスター名"), "前の記録");
    EXPECT_EQ(ask("アプリ名"), "ゾルベックOnline ミルダナ");
    battle.TargetIsClient = true;
    EXPECT_EQ(ask("マスター名"), "前の記録の相手");
}

// The date belongs to the record held: a file changed after it was read does not
// date the old record anew, and a failed load leaves the date to the path.
TEST_F(HostQueryTest, TheFileDateIsTheLoadedFilesAsRead) {
    ScopedTimeZone tokyo("JST-9");
    std::string path = folder.battle("b.kvs", namedBattle("一戦目"));
    setModificationTime(path, 1711933200);  // 2024-04-01 01:00:00 UTC
    files = VectorFileList({path});
    battle.LoadBattleFile(path);
    ASSERT_TRUE(battle.FileLoaded);
    setModificationTime(path, 1711936800);
    EXPECT_EQ(ask("ファイル日時"), "2024/04/01 10:00:00");
    battle.FileLoaded = false;
    EXPECT_EQ(ask("ファイル日時"), "2024/04/01 11:00:00");
}

}  // namespace
}  // namespace mirudana::testing
