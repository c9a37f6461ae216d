// The built-ins that round, format and compare numbers, and convert characters to
// and from UTF-16 code units.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "platform/utf.h"
#include "ttscript/builtin_functions.h"
#include "ttscript/run_memory.h"
#include "ttscript/script_failure.h"

namespace ttscript::builtin {
namespace {

// `x` rounded to `digits` decimal places, halves away from zero. Rounds the
// shortest decimal form that reads back as `x`, so 1.005 rounds as written, to 1.01,
// although the double nearest to it lies just below.
double roundDecimal(double x, int digits) {
    char buffer[40];
    char* end =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(x), std::chars_format::scientific)
            .ptr;
    std::string_view written(buffer, static_cast<std::size_t>(end - buffer));
    std::size_t e = written.find('e');
    std::string significant;
    for (char c : written.substr(0, e)) {
        if (c != '.') significant += c;
    }
    int power = 0;
    std::from_chars(written.data() + e + 1 + (written[e + 1] == '+'),
                    written.data() + written.size(), power);
    // How many significant digits lie at or above the place of 10^-digits.
    int kept = power + 1 + digits;
    if (kept >= static_cast<int>(significant.size())) return x;
    if (kept < 0) return std::copysign(0.0, x);
    std::string whole = significant.substr(0, static_cast<std::size_t>(kept));
    if (significant[static_cast<std::size_t>(kept)] >= '5') {
        int i = kept - 1;
        for (; i >= 0 && whole[static_cast<std::size_t>(i)] == '9'; --i) {
            whole[static_cast<std::size_t>(i)] = '0';
        }
        if (i >= 0) {
            ++whole[static_cast<std::size_t>(i)];
        } else {
            whole.insert(0, "1");
        }
    }
    if (whole.empty()) return std::copysign(0.0, x);
    whole += "e" + std::to_string(-digits);
    double rounded = 0;
    std::from_chars(whole.data(), whole.data() + whole.size(), rounded);
    return std::copysign(rounded, x);
}

constexpr int kMostDigits = 15;

int decimalPlaces(const Value& v, const char* function) {
    double n = v.requireNumber();
    if (n != std::trunc(n) || n < 0 || n > kMostDigits) {
        throwRuntimeError(std::string("'") + function + "' の桁数は 0 から " +
                          std::to_string(kMostDigits) + " までの整数です");
    }
    return static_cast<int>(n);
}

// The parts of a number pattern: "#,##0.0%" groups by thousands, shows at least one
// whole digit, one decimal place and a percentage.
struct Pattern {
    int wholeDigits = 0;  // '0's before the point: digits always shown
    int places = 0;       // '0's after the point
    bool grouped = false;
    bool percent = false;
};

Pattern readPattern(std::string_view text) {
    Pattern p;
    std::string_view rest = text;
    if (rest.ends_with('%')) p.percent = true, rest.remove_suffix(1);
    std::size_t point = rest.find('.');
    std::string_view whole = rest.substr(0, point);
    std::string_view fraction = point == std::string_view::npos ? "" : rest.substr(point + 1);
    bool valid = !whole.empty() && (point == std::string_view::npos || !fraction.empty());
    for (char c : whole) {
        valid = valid && (c == '#' || c == '0' || c == ',');
        p.wholeDigits += c == '0';
        p.grouped = p.grouped || c == ',';
    }
    for (char c : fraction) valid = valid && c == '0';
    p.places = static_cast<int>(fraction.size());
    if (!valid || p.places > kMostDigits) {
        throwRuntimeError("'Format' の書式が正しくありません: \"" + shownText(text) + "\"");
    }
    return p;
}

void groupThousands(std::string& digits) {
    std::size_t first = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
    std::string grouped;
    grouped.reserve(digits.size() + digits.size() / 3);
    grouped.append(digits, 0, first);
    for (std::size_t at = first; at < digits.size(); at += 3) {
        grouped.append(",").append(digits, at, 3);
    }
    digits = std::move(grouped);
}

double extreme(Arguments a, bool largest) {
    double best = a[0].requireNumber();
    for (const Value& v : a.subspan(1)) {
        double n = v.requireNumber();
        if (largest ? n > best : n < best) best = n;
    }
    return best;
}

}  // namespace

// Round(x[, digits]): halves away from zero.
Value round(Arguments a) {
    int digits = a.size() > 1 ? decimalPlaces(a[1], "Round") : 0;
    return Value::number(roundDecimal(a[0].requireNumber(), digits));
}

// Format(x, pattern): "0", "0.0", "#,##0", "0.0%" and the like.
Value format(Arguments a) {
    double x = a[0].requireNumber();
    Pattern p = readPattern(TextOf(a[1]).str());
    if (p.percent) x *= 100;
    if (!std::isfinite(x)) throwRuntimeError("計算結果が大きすぎます");
    // A pattern of many '0's makes as many digits: the whole, the grouped copy and
    // the result are held at once.
    checkMemoryFor(3 * (static_cast<std::size_t>(p.wholeDigits) + kMostDigits + 400));
    double rounded = std::fabs(roundDecimal(x, p.places));
    std::string printed(400, '\0');
    auto end = std::to_chars(printed.data(), printed.data() + printed.size(), rounded,
                             std::chars_format::fixed, p.places)
                   .ptr;
    printed.resize(static_cast<std::size_t>(end - printed.data()));
    std::size_t point = printed.find('.');
    std::string whole = printed.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : printed.substr(point);
    if (whole == "0" && p.wholeDigits == 0) whole.clear();
    if (whole.size() < static_cast<std::size_t>(p.wholeDigits)) {
        whole.insert(0, static_cast<std::size_t>(p.wholeDigits) - whole.size(), '0');
    }
    if (p.grouped) groupThousands(whole);
    std::string out = (x < 0 && rounded != 0 ? "-" : "") + whole + fraction;
    if (p.percent) out += '%';
    return Value::text(std::move(out));
}

Value maximum(Arguments a) { return Value::number(extreme(a, true)); }

Value minimum(Arguments a) { return Value::number(extreme(a, false)); }

Value absolute(Arguments a) { return Value::number(std::fabs(a[0].requireNumber())); }

// ChrW(code): the character of one UTF-16 code unit. A surrogate alone is no
// character, so it is refused.
Value chrW(Arguments a) {
    double code = a[0].requireNumber();
    if (code != std::trunc(code) || code < 0 || code > 0xFFFF ||
        (code >= 0xD800 && code <= 0xDFFF)) {
        throwRuntimeError("'ChrW' の文字コードは 0 から 65535 までの整数です（サロゲートは除く）");
    }
    return Value::text(mirudana::utf16ToUtf8(std::u16string(1, static_cast<char16_t>(code))));
}

// AscW(text): the first UTF-16 code unit of the text.
Value ascW(Arguments a) {
    TextOf text(a[0]);
    if (text.str().empty()) throwRuntimeError("'AscW' に空の文字列は使えません");
    std::size_t lead = 1;
    while (lead < text.str().size() && lead < 4 &&
           (static_cast<unsigned char>(text.str()[lead]) & 0xC0) == 0x80) {
        ++lead;
    }
    std::u16string units = mirudana::utf8ToUtf16(text.str().substr(0, lead));
    return Value::number(units.empty() ? 0 : units[0]);
}

}  // namespace ttscript::builtin
