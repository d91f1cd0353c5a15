#include "decode/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

using namespace varnel;

namespace {

TEST(IsNumeric, ReadsTheWholeTextAsANumber) {
    struct Row {
        const char* text;
        bool numeric;
    };
    const Row rows[] = {
        {"0345", true},  {"7", true},       {"", false},      {"A", false},
        {" 12 ", true},  {"12 34", false},  {"   ", false},   {"-5", true},
        {"+5", true},    {"5-", true},      {"5+", true},     {"+", false},
        {"1.5", true},   {".5", true},      {"1.2.3", false}, {"1E05", true},
        {"1E+5", true},  {"2D3", true},     {"1E", false},    {"E5", false},
        {"03A5", false}, {"MPMW", false},   {"H0", false},    {"&H1F", true},
        {"&HFF", true},  {"&HG", false},    {"&H", false},    {"&O17", true},
        {"&O8", false},  {"\u0663", false},  // an Arabic-Indic three is no digit
    };
    for (const Row& row : rows) {
        EXPECT_EQ(IsNumeric(QString::fromUtf8(row.text)), row.numeric) << '"' << row.text << '"';
    }
}

TEST(NumberTexts, RoundHalvesUpwards) {
    EXPECT_EQ(FormatFixed(10.25, 1), QStringLiteral("10.3"));
    EXPECT_EQ(FormatFixed(10.25f, 1), QStringLiteral("10.3"));
    EXPECT_EQ(FormatFixed(0.25, 1), QStringLiteral("0.3"));
    EXPECT_EQ(FormatFixed(1200.0 / 133.0, 1), QStringLiteral("9.0"));
    EXPECT_EQ(FormatFixed(1400.0 / 133.0, 1), QStringLiteral("10.5"));
    EXPECT_EQ(FormatFixed(11.0f, 1), QStringLiteral("11.0"));
    EXPECT_EQ(FormatFixed(1.5f, 2), QStringLiteral("1.50"));
    EXPECT_EQ(FormatFixed(1.65f, 2), QStringLiteral("1.65"));  // held just below 1.65
    EXPECT_EQ(FormatFixed(1.1f, 2), QStringLiteral("1.10"));
    EXPECT_EQ(FormatFixed(0.0f, 2), QStringLiteral("0.00"));
}

TEST(NumberTexts, ShortestSingleAndPlainIntegers) {
    EXPECT_EQ(FormatSingle(0.13f), QStringLiteral("0.13"));
    EXPECT_EQ(FormatSingle(0.18f), QStringLiteral("0.18"));
    EXPECT_EQ(FormatSingle(0.09f), QStringLiteral("0.09"));
    EXPECT_EQ(FormatSingle(85.0f), QStringLiteral("85"));
    EXPECT_EQ(FormatSingle(1.0f), QStringLiteral("1"));
    EXPECT_EQ(FormatSingle(0.0f), QStringLiteral("0"));
    EXPECT_EQ(FormatInteger(0), QStringLiteral("0"));
    EXPECT_EQ(FormatInteger(2500), QStringLiteral("2500"));
    EXPECT_EQ(FormatHex(0), QStringLiteral("0"));
    EXPECT_EQ(FormatHex(10), QStringLiteral("A"));
    EXPECT_EQ(FormatHex(35), QStringLiteral("23"));
    EXPECT_EQ(FormatHex(241), QStringLiteral("F1"));
}

TEST(Pieces, CutShortAtTheEndAndEmptyBeyondIt) {
    const QString code = QStringLiteral("MPMW");
    EXPECT_EQ(Mid(code, 1, 2), QStringLiteral("MP"));
    EXPECT_EQ(Mid(code, 3, 2), QStringLiteral("MW"));
    EXPECT_EQ(Mid(code, 4, 5), QStringLiteral("W"));
    EXPECT_EQ(Mid(code, 5, 1), QString());
    EXPECT_EQ(Mid(code, 40000, 2), QString());
    EXPECT_EQ(Mid(code, 2), QStringLiteral("PMW"));
    EXPECT_EQ(Mid(code, 5), QString());
    EXPECT_EQ(Left(code, 2), QStringLiteral("MP"));
    EXPECT_EQ(Left(code, 9), code);
    EXPECT_EQ(Left(code, 0), QString());
    EXPECT_EQ(Right(code, 2), QStringLiteral("MW"));
    EXPECT_EQ(Right(QStringLiteral("42"), 4), QStringLiteral("42"));
    EXPECT_EQ(Right(QString(), 4), QString());
}

TEST(UpperCase, KeepsTheLength) {
    EXPECT_EQ(UpperCase(QStringLiteral("axda2500dkv4d")), QStringLiteral("AXDA2500DKV4D"));
    EXPECT_EQ(UpperCase(QString::fromUtf8("ß")), QString::fromUtf8("ß"));
    EXPECT_EQ(UpperCase(QString::fromUtf8("straße")), QString::fromUtf8("STRAßE"));
    EXPECT_EQ(UpperCase(QString::fromUtf8("é")), QString::fromUtf8("É"));
}

}  // namespace

namespace {

// Single-precision texts are worked out in integers for speed; across the
// magnitudes a marking can produce they must read exactly like the C
// library's correctly rounded seven-digit text of the same value.
TEST(FormatSingle, AgreesWithSevenDigitText) {
    std::mt19937 random(2500);
    std::uniform_real_distribution<double> exponent(-4.0, 7.0);
    for (int i = 0; i < 200000; ++i) {
        const auto value = static_cast<float>(std::pow(10.0, exponent(random)));
        if (value >= 1e7f) {
            continue;
        }
        char expected[32];
        std::snprintf(expected, sizeof expected, "%.7g", static_cast<double>(value));
        ASSERT_EQ(FormatSingle(value), QString::fromLatin1(expected)) << std::hexfloat << value;
        std::snprintf(expected, sizeof expected, "%.7g", -static_cast<double>(value));
        ASSERT_EQ(FormatSingle(-value), QString::fromLatin1(expected));
    }
}

// The fixed patterns round the seven-digit (single) or fifteen-digit (double)
// reading of the value, halves away from zero.
TEST(FormatFixed, RoundsTheReadingNotTheBinaryValue) {
    EXPECT_EQ(FormatFixed(2.675, 2),
              QStringLiteral("2.68"));  // 2.67499999999999982236431605997495353221893310546875
    EXPECT_EQ(FormatFixed(1.005f, 2), QStringLiteral("1.01"));  // 1.00499999523162841796875
    EXPECT_EQ(FormatFixed(9.96f, 1), QStringLiteral("10.0"));
    EXPECT_EQ(FormatFixed(0.05, 1), QStringLiteral("0.1"));
    EXPECT_EQ(FormatFixed(-0.04, 1), QStringLiteral("0.0"));
    EXPECT_EQ(FormatFixed(-1.25f, 1), QStringLiteral("-1.3"));
    EXPECT_EQ(FormatFixed(1e20, 1), QStringLiteral("100000000000000000000.0"));
    EXPECT_EQ(FormatFixed(1.0f, 2, u"v"), QStringLiteral("1.00v"));
    EXPECT_EQ(FormatInteger(-7, u"MHz"), QStringLiteral("-7MHz"));
    EXPECT_EQ(FormatHex(-1), QStringLiteral("FFFF"));
}

}  // namespace
