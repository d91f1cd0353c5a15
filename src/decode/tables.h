#pragma once

// The constant tables of the decoding, in the order they are tested. Each one
// reads like the marking guides it comes from: a row per code.

#include <array>
#include <cstdint>
#include <string_view>

namespace varnel::tables {

using Text = std::u16string_view;

// ---- Family prefix at the start of Code One --------------------------------
// Generation 0: known, but the tool cannot decode it.
struct FamilyRow {
    Text prefix;
    Text name;
    float process;  // micrometres
    std::int16_t generation;
};

inline constexpr std::array<FamilyRow, 32> kFamilyTable{{
    {u"AXDA", u"AMD Athlon XP", 0.13f, 1},
    {u"AXDC", u"AMD Athlon XP", 0.13f, 1},
    {u"AXDL", u"AMD Athlon XP-M", 0.13f, 1},
    {u"SDA", u"AMD Sempron", 0.13f, 2},
    {u"SDC", u"AMD Sempron", 0.13f, 1},
    {u"SDS", u"AMD Sempron Mobile", 0.13f, 2},
    {u"ADAFX", u"AMD Athlon 64 FX", 0.13f, 2},
    {u"ADA", u"AMD Athlon 64", 0.13f, 2},
    {u"OSA", u"AMD Opteron", 0.13f, 2},
    {u"OSB", u"AMD Opteron", 0.13f, 2},
    {u"OSK", u"AMD Opteron", 0.13f, 2},
    {u"AMA", u"AMD Athlon 64 Mobile", 0.13f, 2},
    {u"AMN", u"AMD Athlon 64 Mobile", 0.13f, 2},
    {u"AMD", u"AMD Athlon 64 Mobile", 0.13f, 2},
    {u"AMSN", u"AMD Athlon MP", 0.13f, 1},
    {u"AMP", u"AMD Athlon MP", 0.18f, 0},
    {u"AHX", u"AMD Athlon MP", 0.18f, 0},
    {u"K7", u"AMD Athlon", 0.18f, 1},
    {u"AHM", u"AMD Mobile Athlon 4", 0.18f, 1},
    {u"AXMS", u"AMD Athlon XP-M", 0.13f, 0},
    {u"AXMG", u"AMD Athlon XP-M", 0.13f, 1},
    {u"AXLD", u"AMD Athlon XP-M", 0.13f, 1},
    {u"AXMH", u"AMD Athlon XP-M", 0.13f, 1},
    {u"AXMD", u"AMD Athlon XP-M", 0.13f, 1},
    {u"AXDH", u"AMD Athlon XP-M", 0.13f, 1},
    {u"AX", u"AMD Athlon XP", 0.18f, 1},
    {u"A", u"AMD Athlon", 0.18f, 1},
    {u"DHD", u"AMD Duron", 0.18f, 1},
    {u"DHM", u"AMD Duron", 0.18f, 1},
    {u"DHX", u"AMD Duron", 0.18f, 0},
    {u"DHL", u"AMD Duron", 0.18f, 1},
    {u"D", u"AMD Duron", 0.18f, 1},
}};

// ---- K8 revision code: the last two characters of Code One ------------------
// kUnchanged / an empty revision: the code says nothing about that field.
inline constexpr std::int16_t kUnchanged = -1;

struct RevisionRow {
    Text code;
    std::int16_t cpuModel;
    Text revision;
};

inline constexpr std::array<RevisionRow, 26> kAmd64RevisionTable{{
    {u"AD", 4, u"CB"},        {u"AP", 4, u"C0"},        {u"AR", 4, u"CG"},
    {u"AX", 12, u"CG"},       {u"AY", 4, u"CG"},        {u"BP", 4, u"E3"},
    {u"BN", 4, u"E3"},        {u"BV", 4, u"E4"},        {u"CD", 35, u"E6"},
    {u"LA", kUnchanged, u""}, {u"LB", kUnchanged, u""}, {u"BA", kUnchanged, u""},
    {u"AJ", 5, u""},          {u"AS", 7, u"CG"},        {u"AW", 15, u"CG"},
    {u"BI", 241, u"D0"},      {u"DA", kUnchanged, u""}, {u"AG", 5, u"B3"},
    {u"AH", 5, u"B3"},        {u"AI", 5, u"B3"},        {u"AK", 5, u"C0"},
    {u"AL", 5, u"C0"},        {u"AM", 5, u"C0"},        {u"AT", 5, u"CG"},
    {u"AU", 5, u"CG"},        {u"AV", 5, u"CG"},
}};

// ---- One-letter codes behind the model digits -------------------------------
template <typename Value>
struct LetterRow {
    char16_t letter;
    Value value;
};

// Package letter. The K8 names carry the micro sign; the K7 "uPGA" a plain u.
inline constexpr std::array<LetterRow<Text>, 6> kK7Package{{
    {u'A', u"CPGA"},
    {u'B', u"OBGA"},
    {u'D', u"OPGA"},
    {u'E', u"uPGA"},
    {u'F', u"OPGA"},
    {u'G', u"uPGA"},
}};
inline constexpr std::array<LetterRow<Text>, 4> kK8Package{{
    {u'A', u"754 pin Lidded O\u00b5PGA"},
    {u'B', u"754 pin Lidless O\u00b5PGA"},
    {u'C', u"940 pin Lidded C\u00b5PGA"},
    {u'D', u"939 pin Lidded O\u00b5PGA"},
}};

// Voltage letter, volts; -1 is a part whose voltage varies (mobile parts).
inline constexpr std::array<LetterRow<float>, 15> kK7Voltage{{
    {u'Y', 1.10f},
    {u'C', 1.15f},
    {u'T', 1.20f},
    {u'X', 1.25f},
    {u'W', 1.30f},
    {u'J', 1.35f},
    {u'V', 1.40f},
    {u'Q', 1.45f},
    {u'L', 1.50f},
    {u'H', 1.55f},
    {u'U', 1.60f},
    {u'K', 1.65f},
    {u'P', 1.70f},
    {u'M', 1.75f},
    {u'N', 1.80f},
}};
inline constexpr std::array<LetterRow<float>, 7> kK8Voltage{{
    {u'C', 1.55f},
    {u'E', 1.50f},
    {u'I', 1.40f},
    {u'M', 1.30f},
    {u'Q', 1.20f},
    {u'S', 1.15f},
    {u'A', -1.0f},
}};

// Temperature letter, the highest case temperature in degrees Celsius.
inline constexpr std::array<LetterRow<float>, 5> kK7Temperature{{
    {u'R', 70},
    {u'V', 85},
    {u'T', 90},
    {u'S', 95},
    {u'Q', 100},
}};
inline constexpr std::array<LetterRow<float>, 7> kK8Temperature{{
    {u'I', 63},
    {u'K', 65},
    {u'O', 69},
    {u'P', 70},
    {u'X', 95},
    {u'Y', 100},
    {u'A', -1},
}};

// Bus letter of a K7, the front-side bus clock in MHz.
inline constexpr std::array<LetterRow<std::int16_t>, 4> kK7Bus{{
    {u'B', 200},
    {u'C', 266},
    {u'D', 333},
    {u'E', 400},
}};

// The level-1 cache is the same 128 KB on every part of both generations;
// the cache digit doubles 32 KB of level-2 cache once per unit.
inline constexpr std::int16_t kL1CacheKb = 128;
inline constexpr std::int16_t kL2CacheBaseKb = 32;

// ---- Core rules, group B: K7 cores told apart by prefix and cache -----------
struct CoreByCacheRow {
    Text prefix;
    std::int16_t l2CacheKb;
    Text core;
    std::int16_t cpuModel;
};

inline constexpr std::array<CoreByCacheRow, 10> kK7CoreByCache{{
    {u"AXDA", 512, u"Barton", 10},
    {u"AXDC", 256, u"Thorton", 10},
    {u"AXDA", 256, u"Thoroughbred", 8},
    {u"AXLD", 256, u"Thoroughbred", 8},
    {u"AXDL", 512, u"Barton", 10},
    {u"AX", 256, u"Palomino", 6},
    {u"K7", 256, u"Thunderbird", 4},
    {u"A", 256, u"Thunderbird", 4},
    {u"AXMH", 512, u"Barton", 10},
    {u"AXMG", 512, u"Barton", 10},
}};

// Durons with 64 KB of level-2 cache are told apart by their voltage.
inline constexpr std::array<Text, 4> kDuronPrefixes{u"DHD", u"DHM", u"DHL", u"D"};
inline constexpr std::int16_t kDuronL2CacheKb = 64;

struct DuronCoreRow {
    float voltage;
    Text core;
    std::int16_t cpuModel;
    float process;  // 0: keep the family's process
};

inline constexpr std::array<DuronCoreRow, 3> kDuronCoreByVoltage{{
    {1.6f, u"Spitfire", 3, 0.0f},
    {1.75f, u"Morgan", 7, 0.0f},
    {1.5f, u"Applebred", 8, 0.13f},
}};

// ---- Working frequency and multiplier ---------------------------------------
struct ClockCell {
    std::int16_t mhz;
    float multiplier;
};

// K7 rated parts: one column per core and bus; an empty cell is {0, 0}.
// Columns: 1 Palomino, 2 Thoroughbred 266, 3 Thoroughbred 333 Sempron,
// 4 Thoroughbred 333, 5 Barton 266, 6 Barton 333, 7 Barton 400, 8 Thorton 266.
struct K7ClockRow {
    std::int16_t rating;
    std::array<ClockCell, 8> columns;
};

inline constexpr ClockCell kNoCell{0, 0.0f};

// clang-format off
inline constexpr std::array<K7ClockRow, 16> kK7ClockTable{{
    //      1              2              3              4              5              6              7              8
    {1500, {{{1333, 10.0f}, {1333, 10.0f}, kNoCell,       kNoCell,       kNoCell,       kNoCell,       kNoCell,       kNoCell}}},
    {1600, {{{1400, 10.5f}, {1400, 10.5f}, kNoCell,       kNoCell,       kNoCell,       kNoCell,       kNoCell,       kNoCell}}},
    {1700, {{{1467, 11.0f}, {1467, 11.0f}, kNoCell,       kNoCell,       kNoCell,       kNoCell,       kNoCell,       kNoCell}}},
    {1800, {{{1533, 11.5f}, {1533, 11.5f}, kNoCell,       kNoCell,       kNoCell,       kNoCell,       kNoCell,       kNoCell}}},
    {1900, {{{1600, 12.0f}, {1600, 12.0f}, kNoCell,       kNoCell,       kNoCell,       kNoCell,       kNoCell,       kNoCell}}},
    {2000, {{{1667, 12.5f}, {1667, 12.5f}, kNoCell,       kNoCell,       kNoCell,       kNoCell,       kNoCell,       {1667, 12.5f}}}},
    {2100, {{{1733, 13.0f}, {1733, 13.0f}, kNoCell,       kNoCell,       kNoCell,       kNoCell,       kNoCell,       kNoCell}}},
    {2200, {{kNoCell,       {1800, 13.5f}, {1500, 9.0f},  kNoCell,       kNoCell,       kNoCell,       kNoCell,       {1800, 13.5f}}}},
    {2300, {{kNoCell,       kNoCell,       {1567, 9.5f},  kNoCell,       kNoCell,       kNoCell,       kNoCell,       kNoCell}}},
    {2400, {{kNoCell,       {2000, 15.0f}, {1667, 10.0f}, kNoCell,       {1800, 13.5f}, kNoCell,       kNoCell,       {2000, 15.0f}}}},
    {2500, {{kNoCell,       kNoCell,       {1750, 10.5f}, kNoCell,       {1867, 14.0f}, {1833, 11.0f}, kNoCell,       kNoCell}}},
    {2600, {{kNoCell,       {2133, 16.0f}, {1833, 11.0f}, {2083, 12.5f}, {2000, 15.0f}, {1917, 11.5f}, kNoCell,       {2133, 16.0f}}}},
    {2700, {{kNoCell,       kNoCell,       kNoCell,       {2167, 13.0f}, kNoCell,       kNoCell,       kNoCell,       kNoCell}}},
    {2800, {{kNoCell,       kNoCell,       {2000, 12.0f}, {2250, 13.5f}, kNoCell,       {2083, 12.5f}, kNoCell,       kNoCell}}},
    {3000, {{kNoCell,       kNoCell,       kNoCell,       kNoCell,       kNoCell,       {2167, 13.0f}, {2100, 10.5f}, kNoCell}}},
    {3200, {{kNoCell,       kNoCell,       kNoCell,       kNoCell,       kNoCell,       kNoCell,       {2200, 11.0f}, kNoCell}}},
}};
// clang-format on
// A Barton 3000+ on a 333 MHz bus sold as a Sempron ran slower than the Athlon XP.
inline constexpr std::int16_t kSempronBartonRating = 3000;
inline constexpr ClockCell kSempronBarton3000{2000, 12.0f};

// K8 rated parts: rating to clock and multiplier. A K8 names no bus in its
// part number, so each row also gives the bus clock the sheet shows.
struct K8ClockRow {
    std::int16_t model;
    std::int16_t mhz;
    float multiplier;
    std::int16_t fsbMhz;
};

inline constexpr std::int16_t kK8BusMhz = 400;

inline constexpr std::array<K8ClockRow, 5> kNewCastleClock{{
    {2700, 1600, 8.0f, kK8BusMhz},
    {2800, 1800, 9.0f, kK8BusMhz},
    {3000, 2000, 10.0f, kK8BusMhz},
    {3200, 2200, 11.0f, kK8BusMhz},
    {3300, 2000, 10.0f, kK8BusMhz},
}};
inline constexpr std::array<K8ClockRow, 2> kX2Clock1024{{
    {4200, 2200, 11.0f, kK8BusMhz},
    {4600, 2400, 12.0f, kK8BusMhz},
}};
inline constexpr std::array<K8ClockRow, 2> kX2Clock2048{{
    {4400, 2200, 11.0f, kK8BusMhz},
    {4800, 2400, 12.0f, kK8BusMhz},
}};
inline constexpr std::array<K8ClockRow, 6> kWinChesterClock{{
    {3000, 1800, 9.0f, kK8BusMhz},
    {3200, 2000, 10.0f, kK8BusMhz},
    {3500, 2200, 11.0f, kK8BusMhz},
    {3700, 2200, 11.0f, kK8BusMhz},
    {3800, 2400, 12.0f, kK8BusMhz},
    {4000, 2400, 12.0f, kK8BusMhz},
}};
inline constexpr std::array<K8ClockRow, 5> kClawHammer1024Clock{{
    {3000, 1800, 9.0f, kK8BusMhz},
    {3200, 2000, 10.0f, kK8BusMhz},
    {3400, 2200, 11.0f, kK8BusMhz},
    {3700, 2400, 12.0f, kK8BusMhz},
    {4000, 2400, 12.0f, kK8BusMhz},
}};
inline constexpr std::array<K8ClockRow, 3> kParisClock{{
    {2600, 1400, 7.0f, kK8BusMhz},
    {2800, 1600, 8.0f, kK8BusMhz},
    {3100, 1800, 9.0f, kK8BusMhz},
}};
// The FX-55 is listed on a 200 MHz bus.
inline constexpr std::array<K8ClockRow, 5> kFxClock{{
    {51, 2200, 11.0f, kK8BusMhz},
    {53, 2400, 12.0f, kK8BusMhz},
    {55, 2600, 13.0f, 200},
    {57, 2800, 14.0f, kK8BusMhz},
    {59, 3000, 15.0f, kK8BusMhz},
}};

// Opterons: the last two digits of a three-digit model give the clock,
// whatever the first digit (the number of sockets) says.
struct OpteronClockRow {
    Text suffix;
    std::int16_t mhz;
    float multiplier;
};

inline constexpr std::array<OpteronClockRow, 8> kOpteronClock{{
    {u"40", 1400, 7.0f},
    {u"42", 1600, 8.0f},
    {u"44", 1800, 9.0f},
    {u"46", 2000, 10.0f},
    {u"48", 2200, 11.0f},
    {u"50", 2400, 12.0f},
    {u"52", 2600, 13.0f},
    {u"54", 2800, 14.0f},
}};
inline constexpr std::int16_t kOpteronL2CacheKb = 1024;

// ---- Invariants ---------------------------------------------------------------
template <typename Rows, typename Key>
consteval bool KeysUnique(const Rows& rows, Key key) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (std::size_t j = i + 1; j < rows.size(); ++j) {
            if (key(rows[i]) == key(rows[j])) {
                return false;
            }
        }
    }
    return true;
}

static_assert(KeysUnique(kFamilyTable, [](const FamilyRow& r) { return r.prefix; }));
static_assert(KeysUnique(kAmd64RevisionTable, [](const RevisionRow& r) { return r.code; }));
static_assert(KeysUnique(kK7Voltage, [](const auto& r) { return r.letter; }));
static_assert(KeysUnique(kK8Voltage, [](const auto& r) { return r.letter; }));
static_assert(KeysUnique(kK7ClockTable, [](const K7ClockRow& r) { return r.rating; }));

}  // namespace varnel::tables
