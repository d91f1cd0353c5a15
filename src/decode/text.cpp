#include "decode/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace varnel {

bool IsInvisibleInCode(char32_t c) {
    const auto category = QChar::category(c);
    return QChar::isSpace(c) || category == QChar::Other_Control || category == QChar::Other_Format;
}

QString NormaliseCode(QStringView typed) {
    QString code;
    code.reserve(typed.size());
    for (qsizetype i = 0; i < typed.size();) {
        // Whole characters, so a format character beyond the first plane
        // (a tag, a musical formatting mark) goes as one.
        const bool pair =
            typed[i].isHighSurrogate() && i + 1 < typed.size() && typed[i + 1].isLowSurrogate();
        const qsizetype units = pair ? 2 : 1;
        const char32_t c =
            pair ? QChar::surrogateToUcs4(typed[i], typed[i + 1]) : typed[i].unicode();
        if (!IsInvisibleInCode(c)) {
            code.append(typed.mid(i, units));
        }
        i += units;
    }
    return UpperCase(code);
}

QString UpperCase(const QString& text) {
    const auto upper = [](QChar c) {
        if (c.unicode() < 0x80) {
            return c >= QLatin1Char('a') && c <= QLatin1Char('z') ? QChar(c.unicode() - 0x20) : c;
        }
        // A surrogate half stays as it is, so the pair survives intact.
        return c.isSurrogate() ? c : c.toUpper();
    };
    // Codes are mostly typed in capitals already: share the text unchanged.
    qsizetype first = 0;
    while (first < text.size() && upper(text[first]) == text[first]) {
        ++first;
    }
    if (first == text.size()) {
        return text;
    }
    QString result = text;
    for (qsizetype i = first; i < result.size(); ++i) {
        result[i] = upper(result[i]);
    }
    return result;
}

namespace {

bool IsBlank(QChar c) {
    return c == QLatin1Char(' ');
}

bool IsSign(QChar c) {
    return c == QLatin1Char('+') || c == QLatin1Char('-');
}

bool IsHexDigit(QChar c) {
    const char16_t u = c.unicode();
    return IsDecimalDigit(c) || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
}

bool IsOctalDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('7');
}

// Digits with at most one decimal point and an optional exponent, nothing else.
bool IsDecimalBody(QStringView s) {
    qsizetype i = 0;
    qsizetype digits = 0;
    while (i < s.size() && IsDecimalDigit(s[i])) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == QLatin1Char('.')) {
        ++i;
        while (i < s.size() && IsDecimalDigit(s[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i < s.size()) {
        const QChar e = s[i].toUpper();
        if (e != QLatin1Char('E') && e != QLatin1Char('D')) {
            return false;
        }
        ++i;
        if (i < s.size() && IsSign(s[i])) {
            ++i;
        }
        qsizetype exponentDigits = 0;
        while (i < s.size() && IsDecimalDigit(s[i])) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return false;
        }
    }
    return i == s.size();
}

bool IsRadixLiteral(QStringView s) {
    if (s.size() < 3 || s[0] != QLatin1Char('&')) {
        return false;
    }
    const QChar radix = s[1].toUpper();
    const QStringView digits = s.mid(2);
    if (radix == QLatin1Char('H')) {
        return std::all_of(digits.begin(), digits.end(), IsHexDigit);
    }
    if (radix == QLatin1Char('O')) {
        return std::all_of(digits.begin(), digits.end(), IsOctalDigit);
    }
    return false;
}

}  // namespace

bool IsNumeric(QStringView text) {
    QStringView s = text;
    while (!s.isEmpty() && IsBlank(s.front())) {
        s = s.mid(1);
    }
    while (!s.isEmpty() && IsBlank(s.back())) {
        s.chop(1);
    }
    if (s.isEmpty()) {
        return false;
    }
    if (IsRadixLiteral(s)) {
        return true;
    }
    if (IsSign(s.front())) {
        return IsDecimalBody(s.mid(1));
    }
    if (IsSign(s.back())) {
        return IsDecimalBody(s.first(s.size() - 1));
    }
    return IsDecimalBody(s);
}

ShortText Concat(std::initializer_list<QStringView> pieces) {
    return ShortText(pieces);
}

namespace {

// Digits written as Latin-1 text, then the unit.
ShortText WithUnit(std::string_view digits, QStringView unit) {
    ShortText out;
    out.AppendLatin1(digits);
    out.Append(unit);
    return out;
}

}  // namespace

ShortText FormatInteger(long long value, QStringView unit) {
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return WithUnit(std::string_view(text, static_cast<std::size_t>(result.ptr - text)), unit);
}

namespace {

// Exact products of a mantissa and a power of ten need more than 64 bits.
__extension__ typedef unsigned __int128 UInt128;

constexpr std::uint64_t kPowersOfTen[] = {1ULL,
                                          10ULL,
                                          100ULL,
                                          1000ULL,
                                          10000ULL,
                                          100000ULL,
                                          1000000ULL,
                                          10000000ULL,
                                          100000000ULL,
                                          1000000000ULL,
                                          10000000000ULL,
                                          100000000000ULL,
                                          1000000000000ULL,
                                          10000000000000ULL,
                                          100000000000000ULL,
                                          1000000000000000ULL,
                                          10000000000000000ULL,
                                          100000000000000000ULL,
                                          1000000000000000000ULL};

// A value read at a number of significant decimal digits, the way a number of
// that precision prints: value ~ digits * 10^-scale, where digits has exactly
// that many digits (or is 0 for zero), rounded to nearest from the exact
// binary value.
struct Significand {
    bool negative = false;
    std::uint64_t digits = 0;
    int scale = 0;
};

// The general way, through the standard library's correctly rounded text.
template <typename Float>
Significand SignificandFromText(Float value, int significant) {
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                         std::chars_format::scientific, significant - 1);
    Significand out;
    if (ec != std::errc()) {
        return out;
    }
    const char* p = buffer;
    if (*p == '-') {
        out.negative = true;
        ++p;
    }
    for (; p < end && *p != 'e'; ++p) {
        if (*p != '.') {
            out.digits = out.digits * 10 + static_cast<std::uint64_t>(*p - '0');
        }
    }
    int exponent = 0;
    bool negativeExponent = false;
    if (p < end) {
        ++p;
        negativeExponent = *p == '-';
        for (++p; p < end; ++p) {
            exponent = exponent * 10 + (*p - '0');
        }
    }
    out.scale = significant - 1 - (negativeExponent ? -exponent : exponent);
    return out;
}

// One try at the digits of mantissa / 2^shift for a guessed decimal
// exponent; the guess can be one off near a power of ten, and then the try
// says which way.
enum class Trial { Fits, GuessTooHigh, GuessTooLow, OutOfReach };

Trial TryDigits(std::uint64_t mantissa, int shift, int significant, int scale, int maxScale,
                Significand& out) {
    if (scale < 0 || scale > maxScale || shift < 1 || shift > 120) {
        return Trial::OutOfReach;
    }
    UInt128 n = mantissa;
    for (int left = scale; left > 0; left -= 18) {
        n *= kPowersOfTen[std::min(left, 18)];
    }
    const UInt128 floor = n >> shift;
    const UInt128 remainder = n - (floor << shift);
    const UInt128 half = static_cast<UInt128>(1) << (shift - 1);
    const std::uint64_t low = kPowersOfTen[significant - 1];
    const std::uint64_t high = kPowersOfTen[significant];
    if (floor < low) {
        return Trial::GuessTooHigh;
    }
    if (floor >= high) {
        return Trial::GuessTooLow;
    }
    auto digits = static_cast<std::uint64_t>(floor);
    if (remainder > half || (remainder == half && (digits & 1) != 0)) {
        ++digits;  // to nearest, ties to even
    }
    out.digits = digits;
    out.scale = scale;
    if (digits == high) {  // rounded up into the next decade
        out.digits = low;
        --out.scale;
    }
    return Trial::Fits;
}

// The same digits, worked out exactly in integers for the magnitudes the
// markings produce (volts, degrees, multipliers, micrometres): far cheaper
// than going through text, and used on every decode.
template <typename Float>
Significand ToSignificand(Float value, int significant) {
    Significand out;
    out.negative = std::signbit(value);
    if (value == 0 || !std::isfinite(value)) {
        return out;
    }
    constexpr int kMantissaBits = std::numeric_limits<Float>::digits;
    // mantissa * 10^scale must stay below 2^127.
    constexpr int kMaxScale = (127 - kMantissaBits) * 3 / 10;
    int exponent2 = 0;
    const Float fraction = std::frexp(std::fabs(value), &exponent2);
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, kMantissaBits));
    const int shift = kMantissaBits - exponent2;  // |value| = mantissa / 2^shift
    // floor(log10(2^(exponent2 - 1))), at most one short.
    int exponent10 = ((exponent2 - 1) * 78913) >> 18;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int scale = significant - 1 - exponent10;
        switch (TryDigits(mantissa, shift, significant, scale, kMaxScale, out)) {
            case Trial::Fits:
                return out;
            case Trial::GuessTooHigh:
                --exponent10;
                break;
            case Trial::GuessTooLow:
                ++exponent10;
                break;
            case Trial::OutOfReach:
                return SignificandFromText(value, significant);
        }
    }
    return SignificandFromText(value, significant);
}

// Writes digits * 10^-scale with exactly `decimals` decimals, or with as many
// as the value needs when decimals is negative.
ShortText WriteDecimal(bool negative, std::uint64_t digits, int scale, int decimals,
                       QStringView unit) {
    if (decimals < 0) {
        while (scale > 0 && digits % 10 == 0) {
            digits /= 10;
            --scale;
        }
        decimals = std::max(scale, 0);
    }
    char figures[24];
    const int count =
        static_cast<int>(std::to_chars(figures, figures + sizeof figures, digits).ptr - figures);
    // Line the figures up so that exactly `decimals` stand behind the point:
    // zeros behind them for a scale short of the decimals, zeros in front so
    // that one figure at least stands before the point.
    const int trailing = std::max(decimals - scale, 0);
    const int leading = std::max(decimals + 1 - (count + trailing), 0);
    const int total = leading + count + trailing;
    const int beforePoint = total - decimals;

    char text[400];
    int length = 0;
    if (negative && digits != 0) {
        text[length++] = '-';
    }
    for (int i = 0; i < total && length < static_cast<int>(sizeof text) - 2; ++i) {
        if (i == beforePoint) {
            text[length++] = '.';
        }
        const int figure = i - leading;
        text[length++] = figure < 0 || figure >= count ? '0' : figures[figure];
    }
    return WithUnit(std::string_view(text, static_cast<std::size_t>(length)), unit);
}

// The value at its type's precision, then rounded to the decimals wanted,
// halves going away from zero.
template <typename Float>
ShortText FormatFixedDigits(Float value, int decimals, int significant, QStringView unit) {
    if (!std::isfinite(value)) {
        return ShortText({QString::number(static_cast<double>(value)), unit});
    }
    const Significand s = ToSignificand(value, significant);
    std::uint64_t digits = s.digits;
    int scale = s.scale;
    if (scale > decimals) {
        const int drop = scale - decimals;
        if (drop > 19) {
            digits = 0;
        } else {
            const std::uint64_t divisor = kPowersOfTen[std::min(drop, 18)] * (drop == 19 ? 10 : 1);
            const std::uint64_t remainder = digits % divisor;
            digits /= divisor;
            if (remainder >= divisor - remainder) {
                ++digits;
            }
        }
        scale = decimals;
    }
    return WriteDecimal(s.negative, digits, scale, decimals, unit);
}

}  // namespace

ShortText FormatSingle(float value, QStringView unit) {
    if (!std::isfinite(value)) {
        return ShortText({QString::number(static_cast<double>(value)), unit});
    }
    const Significand s = ToSignificand(value, 7);
    return WriteDecimal(s.negative, s.digits, s.scale, -1, unit);
}

ShortText FormatFixed(float value, int decimals, QStringView unit) {
    return FormatFixedDigits(value, decimals, 7, unit);
}

ShortText FormatFixed(double value, int decimals, QStringView unit) {
    return FormatFixedDigits(value, decimals, 15, unit);
}

ShortText FormatHex(int value, QStringView unit) {
    // CPU models are never negative; a negative value would be shown the way
    // a 16-bit integer's bits read in hexadecimal.
    const unsigned bits =
        value < 0 ? static_cast<unsigned>(value) & 0xFFFFu : static_cast<unsigned>(value);
    char text[16];
    const auto result = std::to_chars(text, text + sizeof text, bits, 16);
    for (char* c = text; c < result.ptr; ++c) {
        if (*c >= 'a' && *c <= 'f') {
            *c = static_cast<char>(*c - 'a' + 'A');
        }
    }
    return WithUnit(std::string_view(text, static_cast<std::size_t>(result.ptr - text)), unit);
}

}  // namespace varnel
