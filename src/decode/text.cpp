#include "text.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace varnel {

QString Mid(const QString& text, qsizetype position, qsizetype length) {
    if (position < 1 || length <= 0 || position > text.size()) {
        return {};
    }
    return text.mid(position - 1, length);
}

QString Mid(const QString& text, qsizetype position) {
    if (position < 1 || position > text.size()) {
        return {};
    }
    return text.mid(position - 1);
}

QString Left(const QString& text, qsizetype length) {
    return length <= 0 ? QString() : text.left(length);
}

QString Right(const QString& text, qsizetype length) {
    return length <= 0 ? QString() : text.right(length);
}

bool IsDecimalDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

QString UpperCase(const QString& text) {
    QString result = text;
    for (QChar& c : result) {
        // Only a character that is a letter on its own is mapped; a surrogate
        // half stays as it is, so the pair survives intact.
        if (!c.isSurrogate()) {
            c = c.toUpper();
        }
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

bool IsNumeric(const QString& text) {
    QStringView s(text);
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

QString FormatInteger(long long value) {
    return QString::number(value);
}

namespace {

// The value's decimal digits at the given number of significant digits, as
// "d.ddddde±x"; the stepping stone for shortest and patterned texts.
struct DecimalDigits {
    bool negative = false;
    std::string digits;  // significant digits, no point
    int exponent = 0;    // value = 0.d1d2d3... * 10^(exponent)
};

DecimalDigits ToDecimalDigits(double value, int significant) {
    DecimalDigits out;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", significant - 1, value);
    std::string s(buffer);
    std::size_t i = 0;
    if (s[i] == '-') {
        out.negative = true;
        ++i;
    }
    const std::size_t e = s.find('e');
    for (std::size_t k = i; k < e; ++k) {
        if (s[k] != '.') {
            out.digits.push_back(s[k]);
        }
    }
    out.exponent = std::stoi(s.substr(e + 1)) + 1;
    return out;
}

QString FormatShortest(double value, int significant) {
    if (value == 0.0) {
        return QStringLiteral("0");
    }
    DecimalDigits d = ToDecimalDigits(value, significant);
    while (d.digits.size() > 1 && d.digits.back() == '0') {
        d.digits.pop_back();
    }
    std::string out = d.negative ? "-" : "";
    const int n = static_cast<int>(d.digits.size());
    if (d.exponent <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-d.exponent), '0');
        out += d.digits;
    } else if (d.exponent >= n) {
        out += d.digits;
        out.append(static_cast<std::size_t>(d.exponent - n), '0');
    } else {
        out += d.digits.substr(0, static_cast<std::size_t>(d.exponent));
        out += '.';
        out += d.digits.substr(static_cast<std::size_t>(d.exponent));
    }
    return QString::fromStdString(out);
}

// Rounds the decimal digits of the value, read at the precision of its type,
// to a fixed number of decimals with halves going away from zero.
QString FormatFixedDigits(double value, int decimals, int significant) {
    if (!std::isfinite(value)) {
        return QString::number(value);
    }
    DecimalDigits d = ToDecimalDigits(value, significant);
    // Digits kept: those in front of the point plus the decimals.
    const int keep = d.exponent + decimals;
    std::string kept;
    bool roundUp = false;
    if (keep < 0) {
        kept = "";
    } else if (keep >= static_cast<int>(d.digits.size())) {
        kept = d.digits + std::string(static_cast<std::size_t>(keep) - d.digits.size(), '0');
    } else {
        kept = d.digits.substr(0, static_cast<std::size_t>(keep));
        roundUp = d.digits[static_cast<std::size_t>(keep)] >= '5';
    }
    int exponent = d.exponent;
    if (roundUp) {
        int k = static_cast<int>(kept.size()) - 1;
        while (k >= 0 && kept[static_cast<std::size_t>(k)] == '9') {
            kept[static_cast<std::size_t>(k)] = '0';
            --k;
        }
        if (k >= 0) {
            ++kept[static_cast<std::size_t>(k)];
        } else {
            kept.insert(kept.begin(), '1');
            ++exponent;
        }
    }
    // kept now holds the digits of value * 10^decimals, to be split at the point.
    const int total = exponent + decimals;
    std::string all = total > static_cast<int>(kept.size())
                          ? kept + std::string(static_cast<std::size_t>(total) - kept.size(), '0')
                          : kept;
    if (total <= 0) {
        all = "";
    }
    const int needed = decimals + 1;
    if (static_cast<int>(all.size()) < needed) {
        all.insert(0, static_cast<std::size_t>(needed) - all.size(), '0');
    }
    std::string out;
    const bool allZero = all.find_first_not_of('0') == std::string::npos;
    if (d.negative && !allZero) {
        out += '-';
    }
    out += all.substr(0, all.size() - static_cast<std::size_t>(decimals));
    if (decimals > 0) {
        out += '.';
        out += all.substr(all.size() - static_cast<std::size_t>(decimals));
    }
    return QString::fromStdString(out);
}

}  // namespace

QString FormatSingle(float value) {
    if (!std::isfinite(value)) {
        return QString::number(value);
    }
    return FormatShortest(value, 7);
}

QString FormatFixed(float value, int decimals) {
    return FormatFixedDigits(value, decimals, 7);
}

QString FormatFixed(double value, int decimals) {
    return FormatFixedDigits(value, decimals, 15);
}

QString FormatHex(int value) {
    // CPU models are never negative; a negative value would be shown the way
    // a 16-bit integer's bits read in hexadecimal.
    const unsigned bits =
        value < 0 ? static_cast<unsigned>(value) & 0xFFFFu : static_cast<unsigned>(value);
    return QString::number(bits, 16).toUpper();
}

}  // namespace varnel
