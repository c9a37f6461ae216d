// Two scripts run by our engine and, for scale, by Lua 5.4 with the same host
// callbacks: a report making 200,000 host queries and joining a 10,000-row report,
// and statistics over 20,000 battles counted in dictionaries (tables in Lua). Then
// the engine alone: loading 1 MB scripts of four shapes next to half their size,
// and 40,000 dictionary additions with and without removing them again.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <lua.hpp>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ttscript/engine.h"

namespace {

// Answers like the tool's: a fixed text per key, "ファイル有無" until the list ends.
class BenchHost : public ttscript::EngineEvents {
  public:
    explicit BenchHost(std::int64_t battles) : battles_(battles) {
        answers_ = {{"ターン数", "12"},
                    {"サイド", "サーバー"},
                    {"手札", "竜、騎士、魔法使い"},
                    {"手札枚数", "3"},
                    {"山札枚数", "21"},
                    {"捨札", "剣,盾"},
                    {"捨札枚数", "2"},
                    {"マスター名", "アリシア"},
                    {"マスター種類", "炎の王"},
                    {"マスター体力", "18"},
                    {"ストーン", "4"},
                    {"フェイズ", "先攻"},
                    {"モンスター名", "竜,,騎士,"},
                    {"対象", "サーバー"}};
    }
    void GetData(const std::string& key, std::string& result) override {
        if (key == "ファイル有無") {
            result.assign(1, loaded_ < battles_ ? '1' : '0');
        } else if (varied_ && variedAnswer(key, result)) {
        } else if (auto it = answers_.find(key); it != answers_.end()) {
            result = it->second;
        }
    }
    // Like the tool's host, a literal key is looked up once, when the script loads,
    // and answered by its number after that. Lua's getdata has no such hook.
    ttscript::HostKeyId ResolveKey(std::string_view key, bool prefix) override {
        if (prefix) return ttscript::kUnresolvedKey;
        auto it = answers_.find(std::string(key));
        resolved_.push_back({std::string(key), key == "ファイル有無",
                             it == answers_.end() ? nullptr : &it->second});
        return static_cast<ttscript::HostKeyId>(resolved_.size());
    }
    void GetResolved(ttscript::HostKeyId id, std::string_view, std::string& result) override {
        const Resolved& key = resolved_[id - 1];
        if (key.fileExists) {
            result.assign(1, loaded_ < battles_ ? '1' : '0');
        } else if (varied_ && variedAnswer(key.text, result)) {
        } else if (key.fixed != nullptr) {
            result = *key.fixed;
        }
    }
    void RunCmd(const std::string& verb, const std::string&, bool& notFound) override {
        notFound = verb != "ロード";
        if (!notFound) ++loaded_;
    }
    void SetData(const std::string& item, std::string_view normal, const std::optional<double>&,
                 const std::string&, bool& notFound) override {
        if (item == "保存データ") reportBytes_ = normal.size();
        if (item == "対象") side_ = normal == "クライアント";
        notFound = item != "対象";
    }
    std::size_t reportBytes() const { return reportBytes_; }

    // Hands, discard piles, masters and hit points that change from battle to
    // battle, drawn from pools of 200 cards and 30 masters, for the statistics.
    void vary() { varied_ = true; }

  private:
    bool variedAnswer(const std::string& key, std::string& result) const {
        auto pick = [this](std::int64_t salt, std::int64_t pool) {
            return (loaded_ * 7919 + salt * 104729 + (side_ ? 31 : 0)) % pool;
        };
        auto pile = [&](int count, int salt, const char* sep) {
            result.clear();
            for (int i = 0; i < count; ++i) {
                if (i > 0) result += sep;
                result += "カード" + std::to_string(pick(salt + i, 200));
            }
        };
        if (key == "手札") {
            pile(3 + static_cast<int>(pick(1, 3)), 10, "、");
        } else if (key == "捨札") {
            pile(1 + static_cast<int>(pick(2, 4)), 20, ",");
        } else if (key == "マスター種類") {
            result = "マスター" + std::to_string(pick(3, 30));
        } else if (key == "マスター体力") {
            result = std::to_string(pick(4, 30));
        } else {
            return false;
        }
        return true;
    }

    struct Resolved {
        std::string text;
        bool fileExists;
        const std::string* fixed;  // the answer of a key that does not vary, or null
    };

    bool varied_ = false;
    bool side_ = false;  // the client side, after "対象" = "クライアント"

    std::unordered_map<std::string, std::string> answers_;
    std::vector<Resolved> resolved_;  // by HostKeyId less one
    std::int64_t battles_;
    std::int64_t loaded_ = 0;
    std::size_t reportBytes_ = 0;
};

// 19 queries per battle plus "ファイル有無": 200,000 in all for 10,000 battles.
constexpr const char* kScript = R"(out = "<table>" & Lf
n = 0
While [ファイル有無] = "1"
  n = n + 1
  [対象] = "サーバー"
  row = "<tr><td>" & n & "</td><td>" & [ターン数] & "</td><td>" & [サイド] & "</td>"
  row = row & "<td>" & [手札] & "(" & [手札枚数] & ")</td><td>" & [山札枚数] & "</td>"
  row = row & "<td>" & [捨札] & "(" & [捨札枚数] & ")</td><td>" & [マスター名] & "</td>"
  row = row & "<td>" & [マスター種類] & "</td><td>" & [マスター体力] & "</td><td>" & [ストーン] & "</td>"
  row = row & "<td>" & [フェイズ] & "</td><td>" & [モンスター名] & "</td><td>" & [対象] & "</td>"
  row = row & "<td>" & [ターン数] & [手札枚数] & [山札枚数] & [捨札枚数] & [マスター体力] & "</td>"
  If [ストーン] > 3 Then
    row = row & "<td>多い</td>"
  End If
  out = out & row & "</tr>" & Lf
  RunCmd("ロード")
Wend
[保存データ] = out & "</table>"
)";

constexpr const char* kLuaScript = R"(local parts = {"<table>\n"}
local n = 0
while getdata("ファイル有無") == "1" do
  n = n + 1
  setdata("対象", "サーバー")
  local row = "<tr><td>" .. n .. "</td><td>" .. getdata("ターン数") .. "</td><td>" .. getdata("サイド") .. "</td>"
  row = row .. "<td>" .. getdata("手札") .. "(" .. getdata("手札枚数") .. ")</td><td>" .. getdata("山札枚数") .. "</td>"
  row = row .. "<td>" .. getdata("捨札") .. "(" .. getdata("捨札枚数") .. ")</td><td>" .. getdata("マスター名") .. "</td>"
  row = row .. "<td>" .. getdata("マスター種類") .. "</td><td>" .. getdata("マスター体力") .. "</td><td>" .. getdata("ストーン") .. "</td>"
  row = row .. "<td>" .. getdata("フェイズ") .. "</td><td>" .. getdata("モンスター名") .. "</td><td>" .. getdata("対象") .. "</td>"
  row = row .. "<td>" .. getdata("ターン数") .. getdata("手札枚数") .. getdata("山札枚数") .. getdata("捨札枚数") .. getdata("マスター体力") .. "</td>"
  if tonumber(getdata("ストーン")) > 3 then
    row = row .. "<td>多い</td>"
  end
  parts[#parts + 1] = row .. "</tr>\n"
  runcmd("ロード")
end
setdata("保存データ", table.concat(parts) .. "</table>")
)";

// Per master card, hand card and discarded card how often it is seen, the top 10
// of hands and discard piles, and the average hit points of the masters.
constexpr const char* kStatisticsScript = R"(masters = Dict()
hands = Dict()
discards = Dict()
hp = 0
sides = 0
Function Tally(counts, names, sep)
  For Each name In Split(names, sep)
    If name <> "" Then
      counts(name) = Lookup(counts, name, 0) + 1
    End If
  Next
End Function
Function Top(counts, n)
  order = KeysByValue(counts, 1)
  out = ""
  For i = 1 To Min(n, Size(order))
    out = out & order(i) & "," & counts(order(i)) & CrLf
  Next
  Return out
End Function
While [ファイル有無] = "1"
  For Each side In List("サーバー", "クライアント")
    [対象] = side
    master = [マスター種類]
    masters(master) = Lookup(masters, master, 0) + 1
    Tally(hands, [手札], "、")
    Tally(discards, [捨札], ",")
    hp = hp + [マスター体力]
    sides = sides + 1
  Next
  RunCmd("ロード")
Wend
report = "平均体力," & Format(hp / sides, "0.0") & CrLf & Top(hands, 10) & Top(discards, 10)
For Each m In KeysByValue(masters, 1)
  report = report & m & "," & masters(m) & CrLf
Next
[保存データ] = report
)";

constexpr const char* kLuaStatisticsScript = R"(local masters, hands, discards = {}, {}, {}
local hp, sides = 0, 0
local function tally(counts, names, sep)
  local from = 1
  while true do
    local at = string.find(names, sep, from, true)
    local name = string.sub(names, from, at and at - 1 or nil)
    if name ~= "" then counts[name] = (counts[name] or 0) + 1 end
    if not at then break end
    from = at + #sep
  end
end
local function byCount(counts)
  local keys = {}
  for k in pairs(counts) do keys[#keys + 1] = k end
  table.sort(keys, function(a, b)
    if counts[a] ~= counts[b] then return counts[a] > counts[b] end
    return a < b
  end)
  return keys
end
local function top(counts, n)
  local keys, out = byCount(counts), {}
  for i = 1, math.min(n, #keys) do out[#out + 1] = keys[i] .. "," .. counts[keys[i]] .. "\r\n" end
  return table.concat(out)
end
while getdata("ファイル有無") == "1" do
  for _, side in ipairs({"サーバー", "クライアント"}) do
    setdata("対象", side)
    local master = getdata("マスター種類")
    masters[master] = (masters[master] or 0) + 1
    tally(hands, getdata("手札"), "、")
    tally(discards, getdata("捨札"), ",")
    hp = hp + tonumber(getdata("マスター体力"))
    sides = sides + 1
  end
  runcmd("ロード")
end
local parts = {"平均体力," .. string.format("%.1f", hp / sides) .. "\r\n", top(hands, 10), top(discards, 10)}
for _, m in ipairs(byCount(masters)) do parts[#parts + 1] = m .. "," .. masters[m] .. "\r\n" end
setdata("保存データ", table.concat(parts))
)";

BenchHost* hostOf(lua_State* L) {
    return static_cast<BenchHost*>(lua_touserdata(L, lua_upvalueindex(1)));
}

int luaGetData(lua_State* L) {
    std::string result;
    hostOf(L)->GetData(luaL_checkstring(L, 1), result);
    lua_pushlstring(L, result.data(), result.size());
    return 1;
}

int luaRunCmd(lua_State* L) {
    bool notFound = true;
    hostOf(L)->RunCmd(luaL_checkstring(L, 1), "", notFound);
    if (notFound) return luaL_error(L, "unknown command");
    return 0;
}

int luaSetData(lua_State* L) {
    std::size_t length = 0;
    const char* value = luaL_checklstring(L, 2, &length);
    bool notFound = true;
    std::string normal(value, length);
    hostOf(L)->SetData(luaL_checkstring(L, 1), normal, std::nullopt, "", notFound);
    return 0;
}

void runTtscript(benchmark::State& state, const char* script, bool varied) {
    auto path = std::filesystem::temp_directory_path() / "ttscript_bench.tts";
    std::ofstream(path, std::ios::binary) << script;
    for (auto _ : state) {
        BenchHost host(state.range(0));
        if (varied) host.vary();
        ttscript::TTSA engine(&host);
        std::int32_t n1 = 0, n2 = 0;
        auto outcome = engine.RunScript(path.string(), n1, n2);
        if (!outcome.completed) state.SkipWithError(outcome.error->describe().c_str());
        state.counters["report_bytes"] = static_cast<double>(host.reportBytes());
    }
    std::filesystem::remove(path);
}

void runLua(benchmark::State& state, const char* script, bool varied) {
    for (auto _ : state) {
        BenchHost host(state.range(0));
        if (varied) host.vary();
        lua_State* L = luaL_newstate();
        luaL_openlibs(L);
        const std::pair<const char*, lua_CFunction> functions[] = {
            {"getdata", luaGetData}, {"runcmd", luaRunCmd}, {"setdata", luaSetData}};
        for (const auto& [name, function] : functions) {
            lua_pushlightuserdata(L, &host);
            lua_pushcclosure(L, function, 1);
            lua_setglobal(L, name);
        }
        if (luaL_dostring(L, script) != LUA_OK) state.SkipWithError(lua_tostring(L, -1));
        lua_close(L);
        state.counters["report_bytes"] = static_cast<double>(host.reportBytes());
    }
}

void BM_TtscriptReport(benchmark::State& state) { runTtscript(state, kScript, false); }
void BM_LuaReport(benchmark::State& state) { runLua(state, kLuaScript, false); }
void BM_TtscriptStatistics(benchmark::State& state) { runTtscript(state, kStatisticsScript, true); }
void BM_LuaStatistics(benchmark::State& state) { runLua(state, kLuaStatisticsScript, true); }

// Loading (reading, checking, resolving) a script of about `bytes` bytes of one of
// four shapes that once cost more than their size: appends handed over, many names
// in one function, many assignments, and nesting at the depth limit.
std::string shapedScript(std::int64_t shape, std::int64_t bytes) {
    std::string text;
    auto size = static_cast<std::size_t>(bytes);
    switch (shape) {
        case 0:
            text = "y = 1\no = \"\"\n";
            while (text.size() < size) text += "o = o & y\n";
            break;
        case 1:
            text = "Function F()\n";
            for (int i = 0; text.size() < size; ++i) text += "a" + std::to_string(i) + " = 1\n";
            text += "End Function\nx = F()\n";
            break;
        case 2:
            for (int i = 0; text.size() < size; ++i) text += "a" + std::to_string(i) + " = 1\n";
            break;
        default: {
            std::string block;
            for (int i = 0; i < 199; ++i) block += "If 1 Then\n";
            block += "x = 1\n";
            for (int i = 0; i < 199; ++i) block += "End If\n";
            while (text.size() + block.size() < size) text += block;
        }
    }
    return text;
}

void BM_LoadScriptShape(benchmark::State& state) {
    auto path = std::filesystem::temp_directory_path() / "ttscript_bench_shape.tts";
    std::ofstream(path, std::ios::binary) << shapedScript(state.range(0), state.range(1));
    for (auto _ : state) {
        ttscript::TTSA engine;
        auto outcome = engine.LoadScript(path.string());
        if (!outcome.completed) state.SkipWithError(outcome.error->describe().c_str());
    }
    std::filesystem::remove(path);
}

// 40,000 keys added, then, for the second, each removed again in the order added.
void BM_DictionaryAddRemove(benchmark::State& state) {
    std::string script = "d = Dict()\nFor i = 1 To 40000\nAdd(d, i, i)\nNext\n";
    if (state.range(0) == 1) script += "For i = 1 To 40000\nRemove(d, i)\nNext\n";
    auto path = std::filesystem::temp_directory_path() / "ttscript_bench_dict.tts";
    std::ofstream(path, std::ios::binary) << script;
    for (auto _ : state) {
        ttscript::TTSA engine;
        std::int32_t n1 = 0, n2 = 0;
        auto outcome = engine.RunScript(path.string(), n1, n2);
        if (!outcome.completed) state.SkipWithError(outcome.error->describe().c_str());
    }
    std::filesystem::remove(path);
}

BENCHMARK(BM_LoadScriptShape)
    ->ArgsProduct({{0, 1, 2, 3}, {500'000, 1'000'000}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DictionaryAddRemove)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// 40,000 battles shows the report grows linearly: about four times 10,000's time.
BENCHMARK(BM_TtscriptReport)->Arg(10'000)->Arg(40'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LuaReport)->Arg(10'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TtscriptStatistics)->Arg(20'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LuaStatistics)->Arg(20'000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
