#include "ttscript/builtins.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <ctime>

#include "app/utf.h"
#include "ttscript/builtin_functions.h"
#include "ttscript/lexer.h"
#include "ttscript/script_failure.h"

namespace ttscript {
namespace {

using builtin::Arguments;
using mirudana::utf16ToUtf8;
using mirudana::utf8ToUtf16;

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

Value textOf(std::u16string_view units) { return Value::text(utf16ToUtf8(units)); }

// `v` as a text value; a text value is shared, not copied.
Value asText(const Value& v) { return v.isText() ? v : Value::text(v.toText()); }

Value len(Arguments a) {
    return Value::number(static_cast<double>(utf8ToUtf16(TextOf(a[0]).str()).size()));
}

Value left(Arguments a) {
    std::u16string s = utf8ToUtf16(TextOf(a[0]).str());
    std::size_t n = length(a[1], "Left");
    return textOf(std::u16string_view(s).substr(0, n));
}

Value right(Arguments a) {
    std::u16string s = utf8ToUtf16(TextOf(a[0]).str());
    std::size_t n = length(a[1], "Right");
    return textOf(std::u16string_view(s).substr(s.size() - std::min(n, s.size())));
}

Value mid(Arguments a) {
    std::u16string s = utf8ToUtf16(TextOf(a[0]).str());
    long long start = wholeNumber(a[1]);
    if (start < 1) throwRuntimeError("'Mid' の開始位置は 1 以上です");
    auto from = static_cast<std::size_t>(start - 1);
    if (from >= s.size()) return Value::text("");
    std::size_t n = std::u16string::npos;
    if (a.size() > 2) n = length(a[2], "Mid");
    return textOf(std::u16string_view(s).substr(from, n));
}

// InStr(text, find) or InStr(start, text, find): the 1-based position, 0 when absent.
Value inStr(Arguments a) {
    long long start = 1;
    if (a.size() == 3) {
        start = wholeNumber(a[0]);
        if (start < 1) throwRuntimeError("'InStr' の開始位置は 1 以上です");
        a = a.subspan(1);
    }
    std::u16string text = utf8ToUtf16(TextOf(a[0]).str());
    std::u16string find = utf8ToUtf16(TextOf(a[1]).str());
    if (start - 1 > static_cast<long long>(text.size())) return Value::number(0);
    std::size_t at = text.find(find, static_cast<std::size_t>(start - 1));
    return Value::number(at == std::u16string::npos ? 0 : static_cast<double>(at + 1));
}

Value replace(Arguments a) {
    TextOf textOfArgument(a[0]), findOf(a[1]), withOf(a[2]);
    std::string_view text = textOfArgument.str(), find = findOf.str(), with = withOf.str();
    if (find.empty() || text.find(find) == std::string_view::npos) return asText(a[0]);
    std::string out;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(find, from)) != std::string_view::npos;
         from = at + find.size()) {
        reserveToAppend(out, out.size() + (at - from) + with.size());
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
    return Value::text(std::string(v));
}

Value upperCase(Arguments a) {
    std::string s = a[0].toText();
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return Value::text(std::move(s));
}

Value lowerCase(Arguments a) { return Value::text(foldCase(TextOf(a[0]).str())); }

// The number at the start of the text, 0 when there is none: "12個" gives 12.
Value val(Arguments a) {
    TextOf text(a[0]);
    std::string_view s = text.str();
    std::size_t begin = s.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return Value::number(0);
    std::size_t end = begin;
    if (s[end] == '+' || s[end] == '-') ++end;
    bool seenPoint = false;
    while (end < s.size() && ((s[end] >= '0' && s[end] <= '9') || (s[end] == '.' && !seenPoint))) {
        seenPoint = seenPoint || s[end] == '.';
        ++end;
    }
    // Longest readable prefix: "1." and "-" shrink to what parses.
    while (end > begin) {
        if (auto n = parseNumericText(s.substr(begin, end - begin))) {
            return Value::number(*n);
        }
        --end;
    }
    return Value::number(0);
}

Value str(Arguments a) { return Value::text(formatNumber(a[0].requireNumber())); }

Value integer(Arguments a) { return Value::number(std::floor(a[0].requireNumber())); }

bool needsEscape(char c) { return c == '&' || c == '<' || c == '>' || c == '"' || c == '\''; }

Value html(Arguments a) {
    TextOf text(a[0]);
    std::string_view s = text.str();
    // Most texts need no escape: share them rather than copy.
    auto first = std::find_if(s.begin(), s.end(), needsEscape);
    if (first == s.end()) return asText(a[0]);
    std::string out;
    out.reserve(s.size() + s.size() / 8);
    out.append(s.begin(), first);
    for (char c : std::string_view(first, s.end())) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
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
    for (std::size_t at = 0; (at = text.find(sep, at)) != std::string_view::npos; at += sep.size())
        ++n;
    return Value::number(n);
}

// Item(text, sep, n): the n-th item, counting from 1; "" past either end.
Value item(Arguments a) {
    TextOf textOfArgument(a[0]), sepOf(a[1]);
    std::string_view text = textOfArgument.str(), sep = sepOf.str();
    long long n = wholeNumber(a[2]);
    if (n < 1 || text.empty()) return Value::text("");
    if (sep.empty()) return n == 1 ? asText(a[0]) : Value::text("");
    std::size_t from = 0;
    for (long long i = 1; i < n; ++i) {
        std::size_t at = text.find(sep, from);
        if (at == std::string_view::npos) return Value::text("");
        from = at + sep.size();
    }
    std::size_t to = text.find(sep, from);
    return Value::text(
        std::string(text.substr(from, to == std::string_view::npos ? to : to - from)));
}

// Local date and time as "2024/05/06 07:08:09".
Value now(Arguments) {
    std::time_t t = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    char buffer[32];
    std::size_t n = std::strftime(buffer, sizeof buffer, "%Y/%m/%d %H:%M:%S", &local);
    return Value::text(std::string(buffer, n));
}

constexpr bool kReserved = true;
constexpr int kAny = kAnyNumberOfArguments;
using enum HostBridge;

constexpr std::array kBuiltins{
    Builtin{"Len", 1, 1, None, kReserved, len},
    Builtin{"Left", 2, 2, None, kReserved, left},
    Builtin{"Right", 2, 2, None, kReserved, right},
    Builtin{"Mid", 2, 3, None, kReserved, mid},
    Builtin{"InStr", 2, 3, None, kReserved, inStr},
    Builtin{"Replace", 3, 3, None, kReserved, replace},
    Builtin{"Trim", 1, 1, None, kReserved, trim},
    Builtin{"UCase", 1, 1, None, kReserved, upperCase},
    Builtin{"LCase", 1, 1, None, kReserved, lowerCase},
    Builtin{"Val", 1, 1, None, kReserved, val},
    Builtin{"Str", 1, 1, None, kReserved, str},
    Builtin{"Int", 1, 1, None, kReserved, integer},
    Builtin{"Html", 1, 1, None, kReserved, html},
    Builtin{"Count", 2, 2, None, kReserved, countItems},
    Builtin{"Item", 3, 3, None, kReserved, item},
    Builtin{"Now", 0, 0, None, kReserved, now},
    Builtin{"GetData", 1, 1, GetData, kReserved, nullptr},
    Builtin{"SetData", 2, 2, SetData, kReserved, nullptr},
    Builtin{"RunCmd", 1, 2, RunCmd, kReserved, nullptr},
    Builtin{"List", 0, kAny, None, false, builtin::makeList},
    Builtin{"Dict", 0, 0, None, false, builtin::makeDict},
    Builtin{"Add", 2, 3, None, false, builtin::add},
    Builtin{"Exists", 2, 2, None, false, builtin::exists},
    Builtin{"Remove", 2, 2, None, false, builtin::remove},
    Builtin{"Keys", 1, 1, None, false, builtin::keys},
    Builtin{"Size", 1, 1, None, false, builtin::size},
    Builtin{"Join", 2, 2, None, false, builtin::join},
    Builtin{"Split", 2, 2, None, false, builtin::split},
    Builtin{"Sort", 1, 2, None, false, builtin::sort},
    Builtin{"KeysByValue", 1, 2, None, false, builtin::keysByValue},
    Builtin{"Copy", 1, 1, None, false, builtin::copy},
    Builtin{"Lookup", 3, 3, None, false, builtin::lookup},
    Builtin{"Round", 1, 2, None, false, builtin::round},
    Builtin{"Format", 2, 2, None, false, builtin::format},
    Builtin{"Max", 2, kAny, None, false, builtin::maximum},
    Builtin{"Min", 2, kAny, None, false, builtin::minimum},
    Builtin{"Abs", 1, 1, None, false, builtin::absolute},
    Builtin{"ChrW", 1, 1, None, false, builtin::chrW},
    Builtin{"AscW", 1, 1, None, false, builtin::ascW},
};

}  // namespace

std::span<const Builtin> builtins() { return kBuiltins; }

int findBuiltin(std::string_view foldedName) {
    for (std::size_t i = 0; i < kBuiltins.size(); ++i) {
        if (foldCase(kBuiltins[i].name) == foldedName) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace ttscript
