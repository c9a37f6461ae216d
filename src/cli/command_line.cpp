#include "cli/command_line.h"

#include "battle/file_list.h"
#include "cli/exit_status.h"

namespace mirudana::cli {
namespace {

constexpr const char* kSynopsis =
    "使い方: mirudana-cli [--home DIR] [--script FILE] [--output FILE|-] [--sort] [-r]\n"
    "                     [--files-from FILE|-] [--memory-limit MB] [--]\n"
    "                     [BATTLE_FILE|FOLDER ...]\n"
    "        mirudana-cli --watch [--settle MS] [オプション] FOLDER ...\n"
    "        mirudana-cli --check SCRIPT\n";

// The options whose values are numbers, read once every option is in.
struct NumberOptions {
    std::optional<std::string> memoryLimit;
    std::optional<std::string> settle;
};

std::optional<std::string>* valueOption(CommandLine& line, NumberOptions& numbers,
                                        const std::string& name) {
    if (name == "--memory-limit") return &numbers.memoryLimit;
    if (name == "--settle") return &numbers.settle;
    if (name == "--home") return &line.home;
    if (name == "--script") return &line.script;
    if (name == "--output") return &line.output;
    if (name == "--files-from") return &line.filesFrom;
    if (name == "--check") return &line.check;
    return nullptr;
}

// --memory-limit takes whole megabytes, up to a terabyte.
constexpr std::size_t kMaxMemoryLimitMB = std::size_t{1} << 20;

// A whole number from 1 to `max` (at most seven digits), or nothing.
std::optional<std::size_t> wholeNumber(const std::string& text, std::size_t max) {
    if (text.empty() || text.size() > 7 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    std::size_t value = std::stoul(text);
    if (value == 0 || value > max) return std::nullopt;
    return value;
}

constexpr std::size_t kMaxSettleMs = 60000;

bool* flagOption(CommandLine& line, const std::string& name) {
    if (name == "--sort") return &line.sort;
    if (name == "-r" || name == "--recursive") return &line.recursive;
    if (name == "-h" || name == "--help") return &line.help;
    if (name == "--version") return &line.version;
    if (name == "--watch") return &line.watch;
    return nullptr;
}

}  // namespace

std::variant<CommandLine, UsageError> parseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    NumberOptions numbers;
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
        if (bool* flag = flagOption(line, arg)) {
            *flag = true;
            continue;
        }
        std::size_t equals = arg.find('=');
        std::string name = arg.substr(0, equals);
        std::optional<std::string>* target = valueOption(line, numbers, name);
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
    if (numbers.memoryLimit) {
        std::optional<std::size_t> mb = wholeNumber(*numbers.memoryLimit, kMaxMemoryLimitMB);
        if (!mb) {
            return UsageError{"--memory-limit の値は 1 から " + std::to_string(kMaxMemoryLimitMB) +
                              " までの整数 (MB) です: " + *numbers.memoryLimit};
        }
        line.memoryBudget = *mb << 20;
    }
    if (numbers.settle) {
        std::optional<std::size_t> ms = wholeNumber(*numbers.settle, kMaxSettleMs);
        if (!ms) {
            return UsageError{"--settle の値は 1 から " + std::to_string(kMaxSettleMs) +
                              " までの整数 (ミリ秒) です: " + *numbers.settle};
        }
        line.settle = std::chrono::milliseconds(*ms);
        if (!line.watch) return UsageError{"--settle は --watch と一緒に使います。"};
    }
    if (line.watch && (line.output == "-" || line.filesFrom == "-")) {
        return UsageError{"--watch は標準入出力 (-) と一緒には使えません。"};
    }
    // Following reads its folders from the command line alone: a list would be passed over.
    if (line.watch && line.filesFrom) {
        return UsageError{
            "--watch は --files-from と一緒には使えません。見張るフォルダーは"
            "コマンドラインに並べてください。"};
    }
    if (line.watch && line.battleFiles.empty()) {
        return UsageError{"--watch には見張るフォルダーを指定してください。"};
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
           "  BATTLE_FILE          戦況ファイル。見つからないものは警告で名前を挙げて飛ばします\n"
           "  FOLDER               フォルダーの .kvs ファイルを名前順に加えます\n"
           "  -r, --recursive      フォルダーのサブフォルダーも順にたどります\n"
           "  --files-from FILE    FILE の各行を戦況ファイルかフォルダーとして加えます (UTF-8 か\n"
           "                       BOM 付きの UTF-16、- は標準入力)。コマンドラインに\n"
           "                       収まらない数のときに\n"
           "  --home DIR           プログラムフォルダー。DIR/system/ に参照データ、\n"
           "                       DIR/engine.tts と DIR/出力データ.html が既定の処理エンジンと\n"
           "                       出力先です\n"
           "                       (既定: このプログラムのフォルダー)\n"
           "  --script FILE        処理エンジン (既定: DIR/engine.tts)\n"
           "  --output FILE        出力先 (既定: DIR/出力データ.html。今いるフォルダーではなく\n"
           "                       プログラムフォルダーです)。- なら標準出力に、スクリプトが\n"
           "                       最後に渡したレポートをスクリプトの終了後に書きます。\n"
           "                       /dev/null (Windows では NUL) ならレポートを捨てます\n"
           "  --sort               処理前に戦況ファイルをファイル名でソートします\n"
           "  --memory-limit MB    スクリプトの文字列と集まりが使えるメモリ (既定: 1024 MB)。\n"
           "                       超えるとスクリプトは実行時エラーで止まります\n"
           "  --watch              処理したあとも FOLDER を見張り、戦況ファイルが保存、変更、\n"
           "                       削除されるたびに処理し直します。Ctrl+C で終わります\n"
           "  --settle MS          --watch で、新しいファイルの大きさと時刻がこの間変わらず、\n"
           "                       読み込みのために開けたときに加えます (既定: 1000 ミリ秒)\n"
           "  --check SCRIPT       スクリプトを実行せずに調べ、ツールの知らないキー、保存項目、\n"
           "                       コマンドを行と列付きで挙げます\n"
           "  -h, --help           この説明を表示します\n"
           "  --version            ツールとスクリプトエンジンの版を表示します\n"
           "  --                   以降の引数はすべて戦況ファイルです\n"
           "\n"
           "警告と、実行前の確認で見つかったスクリプトの警告は標準エラーに出します。\n"
           "端末にはさらに、進み具合と最後に一行の結果 (処理した戦況の数、\n"
           "飛ばしたファイル、出力先) を出します。\n"
           "\n"
           "--watch では、更新のたびに一行 (時刻、戦況の数、出力先、かかった秒数) を\n"
           "標準出力に出します。書きかけのファイルは落ち着くまで待ち、ほかのプログラムが\n"
           "開いていて読めないファイルは 10 秒試してから名前を挙げて飛ばし、読めるように\n"
           "なれば加えます。処理中の変更はその処理のあとにもう一度処理します。フォルダーの\n"
           "変更はシステムの通知で知り、通知のないフォルダー (ネットワークドライブなど) は\n"
           "2 秒ごとに、通知があっても 1 分ごとに見直します。レポートは毎回一度に置き換え\n"
           "ます。Ctrl+C で終了コード 0 で終わり、出力に書けないなどの失敗ではその終了\n"
           "コードで終わります。\n"
           "\n" +
           kExitStatusHelp;
}

std::string shortUsage() {
    return std::string(kSynopsis) + "詳しくは mirudana-cli --help を見てください。\n";
}

std::string shortUsage(const std::string& problem) {
    return "mirudana-cli: " + problem + "\n" + shortUsage();
}

}  // namespace mirudana::cli
