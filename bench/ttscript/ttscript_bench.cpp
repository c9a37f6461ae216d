// A report script making 200,000 host queries and joining a 10,000-row report,
// run by our engine and, for scale, by Lua 5.4 with the same host callbacks.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <lua.hpp>
#include <stdexcept>
#include <string>
#include <unordered_map>

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
        } else if (auto it = answers_.find(key); it != answers_.end()) {
            result = it->second;
        }
    }
    void RunCmd(const std::string& verb, const std::string&, bool& notFound) override {
        notFound = verb != "ロード";
        if (!notFound) ++loaded_;
    }
    void SetData(const std::string& item, const std::string& normal, const std::optional<double>&,
                 const std::string&, bool& notFound) override {
        if (item == "保存データ") reportBytes_ = normal.size();
        notFound = item != "対象";
    }
    std::size_t reportBytes() const { return reportBytes_; }

  private:
    std::unordered_map<std::string, std::string> answers_;
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

void BM_TtscriptReport(benchmark::State& state) {
    auto path = std::filesystem::temp_directory_path() / "ttscript_bench.tts";
    std::ofstream(path, std::ios::binary) << kScript;
    for (auto _ : state) {
        BenchHost host(state.range(0));
        ttscript::TTSA engine(&host);
        std::int32_t n1 = 0, n2 = 0;
        auto outcome = engine.RunScript(path.string(), n1, n2);
        if (!outcome.completed) state.SkipWithError(outcome.error->describe().c_str());
        state.counters["report_bytes"] = static_cast<double>(host.reportBytes());
    }
    std::filesystem::remove(path);
}

void BM_LuaReport(benchmark::State& state) {
    for (auto _ : state) {
        BenchHost host(state.range(0));
        lua_State* L = luaL_newstate();
        luaL_openlibs(L);
        const std::pair<const char*, lua_CFunction> functions[] = {
            {"getdata", luaGetData}, {"runcmd", luaRunCmd}, {"setdata", luaSetData}};
        for (const auto& [name, function] : functions) {
            lua_pushlightuserdata(L, &host);
            lua_pushcclosure(L, function, 1);
            lua_setglobal(L, name);
        }
        if (luaL_dostring(L, kLuaScript) != LUA_OK) state.SkipWithError(lua_tostring(L, -1));
        lua_close(L);
        state.counters["report_bytes"] = static_cast<double>(host.reportBytes());
    }
}

// 40,000 battles shows the report grows linearly: about four times 10,000's time.
BENCHMARK(BM_TtscriptReport)->Arg(10'000)->Arg(40'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LuaReport)->Arg(10'000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
