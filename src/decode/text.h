#pragma once

#include <QString>
#include <QStringView>
#include <algorithm>
#include <initializer_list>
#include <string_view>

#include "decode/short_text.h"

namespace varnel {

// Pieces of a code. Positions count characters from 1; a piece is cut short
// at the end of the text and is empty when it starts beyond the end.
// They are views into the text: keep the text alive while a piece is used.
// Every decode cuts dozens of pieces: they are inline.
inline QStringView Mid(QStringView text, qsizetype position, qsizetype length) {
    if (position < 1 || length <= 0 || position > text.size()) {
        return {};
    }
    return text.mid(position - 1, std::min(length, text.size() - position + 1));
}

inline QStringView Mid(QStringView text, qsizetype position) {  // to the end
    if (position < 1 || position > text.size()) {
        return {};
    }
    return text.mid(position - 1);
}

inline QStringView Left(QStringView text, qsizetype length) {
    return length <= 0 ? QStringView() : text.first(std::min(length, text.size()));
}

inline QStringView Right(QStringView text, qsizetype length) {
    return length <= 0 ? QStringView() : text.last(std::min(length, text.size()));
}

// Exact, case-sensitive equality of two pieces, unit by unit.
inline bool Is(QStringView text, std::u16string_view value) {
    return text.size() == static_cast<qsizetype>(value.size()) &&
           std::equal(value.begin(), value.end(), text.utf16());
}

// True for the plain decimal digits 0 to 9 only (no other script's digits).
inline bool IsDecimalDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Upper case, one character for one character, so a text never changes length
// ("ß" stays "ß").
QString UpperCase(const QString& text);

// Whether a character is one a reader cannot see on a lid or a screen: white
// space of any kind (tab, line breaks, no-break and other spaces), control
// characters and format characters (zero-width space, byte-order mark,
// bidirectional marks). Text copied from a page or a file brings these along.
bool IsInvisibleInCode(char32_t c);

// A code as the boxes hold it: every invisible character dropped wherever it
// stands, then upper-cased one for one. Nothing is cut; the caller applies
// the 13-character limit to what is left.
QString NormaliseCode(QStringView typed);

// The numeric test: the whole text reads as a number. Blanks at either end,
// a sign in front or behind, digits with at most one decimal point and an
// optional E or D exponent; or &H hexadecimal, or &O octal. Empty is not.
bool IsNumeric(QStringView text);

// Number texts. A unit, when given, follows the number directly (2200MHz).

// Pieces joined into one text.
ShortText Concat(std::initializer_list<QStringView> pieces);

// An integer in plain decimal.
ShortText FormatInteger(long long value, QStringView unit = {});

// A single-precision value in its shortest form: at most seven significant
// digits, no trailing zeros (0.13, 85, 1).
ShortText FormatSingle(float value, QStringView unit = {});

// A value with a fixed number of decimals ("0.0", "0.00"), halves rounded
// upwards (away from zero), as the decimal digits of the value read at the
// precision of its type.
ShortText FormatFixed(float value, int decimals, QStringView unit = {});
ShortText FormatFixed(double value, int decimals, QStringView unit = {});

// Hexadecimal with upper-case digits, no prefix, no leading zeros.
ShortText FormatHex(int value, QStringView unit = {});

}  // namespace varnel
