#include "cli/command_line.h"

#include "battle/file_list.h"

#include "cli/exit_status.h"

namespace mirudana::cli {
namespace {

constexpr const char* kSynopsis =
    "使い方: mirudana-cli [--home DIR] [--script FILE] [--output FILE] [--sort] [--] "
    "[BATTLE_FILE ...]\n";

std::optional<std::string>* valueOption(CommandLine& line, const std::string& name) {
    if (name == "--home") return &line.home;
    if (name == "--script") return &line.script;
    if (name == "--output") return &line.output;
    return nullptr;
}

}  // namespace

std::variant<CommandLine, UsageError> parseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            line.battleFiles.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--sort" || arg == "--help") {
            (arg == "--sort" ? line.sort : line.help) = true;
            continue;
        }
        std::size_t equals = arg.find('=');
        std::string name = arg.substr(0, equals);
        std::optional<std::string>* target = valueOption(line, name);
        if (target == nullptr) return UsageError{"不明なオプションです: " + arg};
        if (equals != std::string::npos) {
            *target = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            *target = args[++i];
        } else {
            return UsageError{name + " には値が必要です。"};
        }
        if ((*target)->empty()) return UsageError{name + " の値が空です。"};
    }
    if (line.battleFiles.size() > static_cast<std::size_t>(kMaxBattleFiles)) {
        return UsageError{"戦況ファイルは " + std::to_string(kMaxBattleFiles) + " 個までです。"};
    }
    return line;
}

std::string helpText() {
    return std::string(kSynopsis) +
           "\n"
           "戦況ファイル (.kvs) を処理エンジン (.tts) で一つのレポートに変換します。\n"
           "\n"
           "  --home DIR     プログラムフォルダー。DIR/system/ に参照データ、DIR/engine.tts と\n"
           "                 DIR/出力データ.html が既定の処理エンジンと出力先です\n"
           "                 (既定: このプログラムのフォルダー)\n"
           "  --script FILE  処理エンジン (既定: DIR/engine.tts)\n"
           "  --output FILE  出力先 (既定: DIR/出力データ.html)\n"
           "  --sort         処理前に戦況ファイルをファイル名でソートします\n"
           "  --help         この説明を表示します\n"
           "  --             以降の引数はすべて戦況ファイルです\n"
           "\n" +
           kExitStatusHelp;
}

std::string shortUsage(const std::string& problem) {
    return "mirudana-cli: " + problem + "\n" + kSynopsis +
           "詳しくは mirudana-cli --help を見てください。\n";
}

}  // namespace mirudana::cli
