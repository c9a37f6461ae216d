#include "ttscript/builtins.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <ctime>
#include <map>

#include "platform/local_time.h"
#include "platform/numeric_text.h"
#include "platform/utf.h"
#include "ttscript/builtin_functions.h"
#include "ttscript/json_text.h"
#include "ttscript/lexer.h"
#include "ttscript/run_memory.h"
#include "ttscript/script_failure.h"
#include "ttscript/text_search.h"

namespace ttscript {
namespace {

using builtin::Arguments;

// Positions and lengths in whole code units; fractions are cut off.
long long wholeNumber(const Value& v) {
    double n = std::trunc(v.requireNumber());
    return static_cast<long long>(std::clamp(n, -1e15, 1e15));
}

std::size_t length(const Value& v, std::string_view function) {
    long long n = wholeNumber(v);
    if (n < 0) throwRuntimeError("'" + std::string(function) + "' の長さが負の数です");
    return static_cast<std::size_t>(n);
}

// The places known of `v`'s text when it is long, else `scratch`: a loop that walks a
// long text a character at a time then walks it once in all.
mirudana::KnownPlaces& knownPlaces(const Value& v, mirudana::KnownPlaces& scratch) {
    mirudana::KnownPlaces* known = v.knownPlaces();
    return known ? *known : scratch;
}

Value len(Arguments a) {
    mirudana::KnownPlaces scratch;
    return Value::number(static_cast<double>(
        mirudana::codeUnitCount(TextOf(a[0]).str(), knownPlaces(a[0], scratch))));
}

// Positions and lengths count UTF-16 code units; the text is cut where it stands.
// The text is read before the numbers, so a wrong text is the error reported first.
Value left(Arguments a) {
    TextOf text(a[0]);
    return Value::text(mirudana::codeUnitSlice(text.str(), 0, length(a[1], "Left")));
}

Value right(Arguments a) {
    TextOf text(a[0]);
    mirudana::KnownPlaces scratch;
    mirudana::KnownPlaces& known = knownPlaces(a[0], scratch);
    std::size_t units = mirudana::codeUnitCount(text.str(), known);
    std::size_t n = std::min(length(a[1], "Right"), units);
    return Value::text(mirudana::codeUnitSlice(text.str(), units - n, n, known));
}

Value mid(Arguments a) {
    TextOf text(a[0]);
    long long start = wholeNumber(a[1]);
    if (start < 1) throwRuntimeError("'Mid' の開始位置は 1 以上です");
    std::size_t n = std::string::npos;
    if (a.size() > 2) n = length(a[2], "Mid");
    mirudana::KnownPlaces scratch;
    return Value::text(mirudana::codeUnitSlice(text.str(), static_cast<std::size_t>(start - 1), n,
                                               knownPlaces(a[0], scratch)));
}

// InStr(text, find) or InStr(start, text, find): the 1-based position, 0 when absent.
Value inStr(Arguments a) {
    long long start = 1;
    if (a.size() == 3) {
        start = wholeNumber(a[0]);
        if (start < 1) throwRuntimeError("'InStr' の開始位置は 1 以上です");
        a = a.subspan(1);
    }
    TextOf text(a[0]), find(a[1]);
    mirudana::KnownPlaces scratch;
    std::size_t at = mirudana::findInCodeUnits(
        text.str(), find.str(), static_cast<std::size_t>(start - 1), knownPlaces(a[0], scratch));
    return Value::number(at == std::string_view::npos ? 0 : static_cast<double>(at + 1));
}

// `v` as a text value; a text value is shared, not copied.
Value asText(const Value& v) { return v.isText() ? v : Value::text(v.toText()); }

Value replace(Arguments a) {
    TextOf textOfArgument(a[0]), findOf(a[1]), withOf(a[2]);
    std::string_view text = textOfArgument.str(), find = findOf.str(), with = withOf.str();
    if (find.empty() || findText(text, find) == std::string_view::npos) return asText(a[0]);
    // The result's size first, so the whole of it is checked against the budget
    // before any of it is made.
    std::size_t count = 0;
    for (std::size_t at = 0; (at = findText(text, find, at)) != std::string_view::npos;
         at += find.size()) {
        ++count;
    }
    std::string out;
    reserveToAppend(out,
                    addSizes(text.size() - count * find.size(), multiplySizes(count, with.size())));
    std::size_t from = 0;
    for (std::size_t at; (at = findText(text, find, from)) != std::string_view::npos;
         from = at + find.size()) {
        out.append(text.substr(from, at - from)).append(with);
    }
    out.append(text.substr(from));
    return Value::text(std::move(out));
}

// Blanks: space, tab and the full-width space.
Value trim(Arguments a) {
    TextOf s(a[0]);
    std::string_view v = s.str();
    constexpr std::string_view kWide = "\xE3\x80\x80";
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        if (!v.empty() && (v.front() == ' ' || v.front() == '\t'))
            v.remove_prefix(1), trimmed = true;
        if (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1), trimmed = true;
        if (v.starts_with(kWide)) v.remove_prefix(kWide.size()), trimmed = true;
        if (v.ends_with(kWide)) v.remove_suffix(kWide.size()), trimmed = true;
    }
    if (v.size() == s.str().size()) return asText(a[0]);
    return Value::textOf(v);
}

Value upperCase(Arguments a) {
    checkMemoryFor(TextOf(a[0]).str().size());
    std::string s = a[0].toText();
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return Value::text(std::move(s));
}

Value lowerCase(Arguments a) {
    TextOf text(a[0]);
    checkMemoryFor(text.str().size());
    return Value::text(foldCase(text.str()));
}

bool isDigitAt(std::string_view s, std::size_t at) {
    return at < s.size() && s[at] >= '0' && s[at] <= '9';
}

// Where the exponent after the digits ending at `end` ends: "1e3x" reads 1000, as
// "1e3" does in arithmetic, but the "e" of "2em" has no digits and is no exponent.
std::size_t pastExponent(std::string_view s, std::size_t end) {
    if (end >= s.size() || (s[end] != 'e' && s[end] != 'E')) return end;
    std::size_t at = end + 1;
    if (at < s.size() && (s[at] == '+' || s[at] == '-')) ++at;
    if (!isDigitAt(s, at)) return end;
    while (isDigitAt(s, at)) ++at;
    return at;
}

// The number at the start of the text, 0 when there is none: "12個" gives 12.
Value val(Arguments a) {
    TextOf text(a[0]);
    std::string_view s = text.str();
    std::size_t begin = s.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return Value::number(0);
    std::size_t end = begin;
    if (s[end] == '+' || s[end] == '-') ++end;
    bool seenPoint = false;
    while (isDigitAt(s, end) || (end < s.size() && s[end] == '.' && !seenPoint)) {
        seenPoint = seenPoint || s[end] == '.';
        ++end;
    }
    end = pastExponent(s, end);
    // Longest readable prefix: "1." and "-" shrink to what parses.
    for (; end > begin; --end) {
        std::string_view number = s.substr(begin, end - begin);
        if (auto n = mirudana::parseDecimalNumber(number)) {
            // Any shorter prefix would be a wrong number, not a smaller one.
            if (std::isinf(*n)) {
                throwRuntimeError("数値が大きすぎます: \"" + shownText(number) + "\"");
            }
            return Value::number(*n);
        }
    }
    return Value::number(0);
}

Value str(Arguments a) { return Value::text(formatNumber(a[0].requireNumber())); }

Value integer(Arguments a) { return Value::number(std::floor(a[0].requireNumber())); }

// The escape of a character Html replaces, or "" for one it keeps.
constexpr std::string_view escapeOf(char c) {
    switch (c) {
        case '&':
            return "&amp;";
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        case '"':
            return "&quot;";
        case '\'':
            return "&#39;";
        default:
            return "";
    }
}

// The bytes escapeOf replaces, for a scan that costs one load per byte.
constexpr std::array<bool, 256> kEscaped = [] {
    std::array<bool, 256> escaped{};
    for (int c = 0; c < 256; ++c) escaped[c] = !escapeOf(static_cast<char>(c)).empty();
    return escaped;
}();

bool isEscaped(char c) { return kEscaped[static_cast<unsigned char>(c)]; }

Value html(Arguments a) {
    TextOf text(a[0]);
    std::string_view s = text.str();
    const auto first = std::find_if(s.begin(), s.end(), isEscaped);
    // Most texts need no escape: share them rather than copy.
    if (first == s.end()) return asText(a[0]);
    std::size_t size = s.size();
    for (auto it = first; it != s.end(); ++it) {
        if (isEscaped(*it)) size += escapeOf(*it).size() - 1;
    }
    std::string out;
    reserveToAppend(out, size);
    out.append(s.begin(), first);
    for (auto it = first; it != s.end(); ++it) {
        if (isEscaped(*it)) {
            out += escapeOf(*it);
        } else {
            out += *it;
        }
    }
    return Value::text(std::move(out));
}

// Count(text, sep): how many items `sep` separates; "" holds none.
Value countItems(Arguments a) {
    TextOf textOfArgument(a[0]), sepOf(a[1]);
    std::string_view text = textOfArgument.str(), sep = sepOf.str();
    if (text.empty()) return Value::number(0);
    if (sep.empty()) return Value::number(1);
    double n = 1;
    for (std::size_t at = 0; (at = findText(text, sep, at)) != std::string_view::npos;
         at += sep.size())
        ++n;
    return Value::number(n);
}

// Item(text, sep, n): the n-th item, counting from 1; "" past either end.
Value item(Arguments a) {
    TextOf textOfArgument(a[0]), sepOf(a[1]);
    std::string_view text = textOfArgument.str(), sep = sepOf.str();
    long long n = wholeNumber(a[2]);
    if (n < 1 || text.empty()) return Value::emptyText();
    if (sep.empty()) return n == 1 ? asText(a[0]) : Value::emptyText();
    std::size_t from = 0;
    for (long long i = 1; i < n; ++i) {
        std::size_t at = findText(text, sep, from);
        if (at == std::string_view::npos) return Value::emptyText();
        from = at + sep.size();
    }
    std::size_t to = findText(text, sep, from);
    return Value::textOf(text.substr(from, to == std::string_view::npos ? to : to - from));
}

Value hostGetData(HostLink& host, Arguments a, const CallTarget& site) {
    return Value::textOf(host.getData(TextOf(a[0]).string(), site.hostKey));
}

Value hostSetData(HostLink& host, Arguments a, const CallTarget& site) {
    assert(site.plain && "the parser keeps the source text of SetData's value");
    host.setData(TextOf(a[0]).string(), a[1], *site.plain);
    return Value::emptyText();
}

Value hostReadText(HostLink& host, Arguments a, const CallTarget&) {
    return Value::text(host.readText(TextOf(a[0]).string()));
}

Value jsonText(Arguments a) { return Value::text(jsonStringLiteral(TextOf(a[0]).str())); }

Value hostRunCmd(HostLink& host, Arguments a, const CallTarget&) {
    host.runCmd(TextOf(a[0]).string(), a.size() > 1 ? TextOf(a[1]).string() : "");
    return Value::emptyText();
}

// Local date and time as "2024/05/06 07:08:09".
Value now(Arguments) { return Value::text(mirudana::localTimeText(std::time(nullptr))); }

constexpr int kAny = kAnyNumberOfArguments;
using enum Naming;

constexpr std::array kBuiltins{
    Builtin{"Len", 1, 1, Reserved, len, nullptr},
    Builtin{"Left", 2, 2, Reserved, left, nullptr},
    Builtin{"Right", 2, 2, Reserved, right, nullptr},
    Builtin{"Mid", 2, 3, Reserved, mid, nullptr},
    Builtin{"InStr", 2, 3, Reserved, inStr, nullptr},
    Builtin{"Replace", 3, 3, Reserved, replace, nullptr},
    Builtin{"Trim", 1, 1, Reserved, trim, nullptr},
    Builtin{"UCase", 1, 1, Reserved, upperCase, nullptr},
    Builtin{"LCase", 1, 1, Reserved, lowerCase, nullptr},
    Builtin{"Val", 1, 1, Reserved, val, nullptr},
    Builtin{"Str", 1, 1, Reserved, str, nullptr},
    Builtin{"Int", 1, 1, Reserved, integer, nullptr},
    Builtin{"Html", 1, 1, Reserved, html, nullptr},
    Builtin{"Count", 2, 2, Reserved, countItems, nullptr},
    Builtin{"Item", 3, 3, Reserved, item, nullptr},
    Builtin{"Now", 0, 0, Bare, now, nullptr},
    Builtin{"GetData", 1, 1, Reserved, nullptr, hostGetData, HostBridge::GetData},
    Builtin{"SetData", 2, 2, Reserved, nullptr, hostSetData, HostBridge::SetData},
    Builtin{"RunCmd", 1, 2, Reserved, nullptr, hostRunCmd, HostBridge::RunCmd},
    Builtin{"List", 0, kAny, Yielding, builtin::makeList, nullptr},
    Builtin{"Dict", 0, 0, Yielding, builtin::makeDict, nullptr},
    Builtin{"Add", 2, 3, Yielding, builtin::add, nullptr},
    Builtin{"Exists", 2, 2, Yielding, builtin::exists, nullptr},
    Builtin{"Remove", 2, 2, Yielding, builtin::remove, nullptr},
    Builtin{"Keys", 1, 1, Yielding, builtin::keys, nullptr},
    Builtin{"Size", 1, 1, Yielding, builtin::size, nullptr},
    Builtin{"Join", 2, 2, Yielding, builtin::join, nullptr},
    Builtin{"Split", 2, 2, Yielding, builtin::split, nullptr},
    Builtin{"Sort", 1, 2, Yielding, builtin::sort, nullptr},
    Builtin{"KeysByValue", 1, 2, Yielding, builtin::keysByValue, nullptr},
    Builtin{"Copy", 1, 1, Yielding, builtin::copy, nullptr},
    Builtin{"Lookup", 3, 3, Yielding, builtin::lookup, nullptr},
    Builtin{"Round", 1, 2, Yielding, builtin::round, nullptr},
    Builtin{"Format", 2, 2, Yielding, builtin::format, nullptr},
    Builtin{"Max", 2, kAny, Yielding, builtin::maximum, nullptr},
    Builtin{"Min", 2, kAny, Yielding, builtin::minimum, nullptr},
    Builtin{"Abs", 1, 1, Yielding, builtin::absolute, nullptr},
    Builtin{"ChrW", 1, 1, Yielding, builtin::chrW, nullptr},
    Builtin{"AscW", 1, 1, Yielding, builtin::ascW, nullptr},
    Builtin{"ReadText", 1, 1, Yielding, nullptr, hostReadText, HostBridge::BesideFile},
    Builtin{"JsonText", 1, 1, Yielding, jsonText, nullptr},
};

}  // namespace

std::span<const Builtin> builtins() { return kBuiltins; }

// The table's names folded once, for a lookup that costs a search, not a scan.
int findBuiltin(std::string_view foldedName) {
    static const std::map<std::string, int, std::less<>> byName = [] {
        std::map<std::string, int, std::less<>> names;
        for (std::size_t i = 0; i < kBuiltins.size(); ++i) {
            names.emplace(foldCase(kBuiltins[i].name), static_cast<int>(i));
        }
        return names;
    }();
    auto it = byName.find(foldedName);
    return it == byName.end() ? -1 : it->second;
}

bool callsBuiltin(const Expr& e, Value (*call)(Arguments)) {
    return e.kind == ExprKind::Call && e.call().function < 0 && e.call().builtin >= 0 &&
           kBuiltins[static_cast<std::size_t>(e.call().builtin)].call == call;
}

}  // namespace ttscript
