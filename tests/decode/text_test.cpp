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

// The fixed patterns round the seven-digit (single) or fifteen-digit (double)
// reading of the value, halves away from zero; the other texts are plain.
TEST(NumberTexts, RoundTheReadingHalvesUpwards) {
    const std::pair<ShortText, const char*> rows[] = {
        {FormatFixed(10.25, 1), "10.3"},
        {FormatFixed(10.25f, 1), "10.3"},
        {FormatFixed(1400.0 / 133.0, 1), "10.5"},
        {FormatFixed(1.5f, 2), "1.50"},
        {FormatFixed(1.65f, 2), "1.65"},  // held just below 1.65
        {FormatFixed(1.1f, 2), "1.10"},
        {FormatFixed(0.0f, 2), "0.00"},
        {FormatFixed(2.675, 2), "2.68"},   // 2.67499999999999982236431605997495353221893310546875
        {FormatFixed(1.005f, 2), "1.01"},  // 1.00499999523162841796875
        {FormatFixed(9.96f, 1), "10.0"},
        {FormatFixed(-0.04, 1), "0.0"},
        {FormatFixed(-1.25f, 1), "-1.3"},
        {FormatFixed(1e20, 1), "100000000000000000000.0"},
        {FormatFixed(1.0f, 2, u"v"), "1.00v"},
        {FormatSingle(0.0f), "0"},
        {FormatInteger(0), "0"},
        {FormatInteger(-7, u"MHz"), "-7MHz"},
        {FormatHex(0), "0"},
        {FormatHex(241), "F1"},
        {FormatHex(-1), "FFFF"},
    };
    for (const auto& [text, expected] : rows) {
        EXPECT_EQ(text.ToQString(), QString::fromLatin1(expected)) << expected;
    }
}

TEST(UpperCase, KeepsTheLength) {
    EXPECT_EQ(UpperCase(QStringLiteral("axda2500dkv4d")), QStringLiteral("AXDA2500DKV4D"));
    EXPECT_EQ(UpperCase(QString::fromUtf8("straße")), QString::fromUtf8("STRAßE"));
    EXPECT_EQ(UpperCase(QString::fromUtf8("é")), QString::fromUtf8("É"));
}

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

}  // namespace
