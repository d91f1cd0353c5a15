#pragma once

// The constant tables of the decoding, in the order they are tested. Each one
// reads like the marking guides it comes from: a row per code.

#include <array>
#include <cstdint>
#include <span>
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

// Package letter: the package as the results show it, and in the words of the
// catalogue of real parts the socket it names and the package. The K8 names
// carry the micro sign; the K7 "uPGA" a plain u. A K7 package letter names no
// socket; the 940-pin parts came on ceramic and later on organic carriers, so
// their letter says nothing the catalogue could hold a package against.
struct PackageRow {
    Text name;
    Text socket;   // empty: the letter names no socket
    Text package;  // empty: nothing to hold against the catalogue's package
};

inline constexpr std::array<LetterRow<PackageRow>, 6> kK7Package{{
    {u'A', {u"CPGA", u"", u"CPGA"}},
    {u'B', {u"OBGA", u"", u"OBGA"}},
    {u'D', {u"OPGA", u"", u"OPGA"}},
    {u'E', {u"uPGA", u"", u"uPGA"}},
    {u'F', {u"OPGA", u"", u"OPGA"}},
    {u'G', {u"uPGA", u"", u"uPGA"}},
}};
inline constexpr std::array<LetterRow<PackageRow>, 4> kK8Package{{
    {u'A', {u"754 pin Lidded O\u00b5PGA", u"Socket 754", u"lidded OuPGA"}},
    {u'B', {u"754 pin Lidless O\u00b5PGA", u"Socket 754", u"lidless OuPGA"}},
    {u'C', {u"940 pin Lidded C\u00b5PGA", u"Socket 940", u""}},
    {u'D', {u"939 pin Lidded O\u00b5PGA", u"Socket 939", u"lidded OuPGA"}},
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

// ---- K7 CPU model numbers ---------------------------------------------------
// The model field of the processor's identification; the later stages branch
// on it. Thoroughbred shares 8 with Applebred, Barton 10 with Thorton.
inline constexpr std::int16_t kSpitfireModel = 3;
inline constexpr std::int16_t kThunderbirdModel = 4;
inline constexpr std::int16_t kPalominoModel = 6;
inline constexpr std::int16_t kMorganModel = 7;
inline constexpr std::int16_t kThoroughbredModel = 8;
inline constexpr std::int16_t kBartonModel = 10;

// The older parts carry their clock in Code One; the rated ones read it from
// the clock table.
inline constexpr std::array<std::int16_t, 3> kClockInCodeModels{kSpitfireModel, kThunderbirdModel,
                                                                kMorganModel};
inline constexpr std::array<std::int16_t, 3> kRatedModels{kPalominoModel, kThoroughbredModel,
                                                          kBartonModel};

// ---- Core rules ---------------------------------------------------------------
// A cell left at its "any" value matches every decode. No rule asks for a
// voltage of 0, the value of a letter no voltage table knows.
inline constexpr std::int16_t kAny = 0;
inline constexpr float kAnyVoltage = 0.0f;
inline constexpr float kVariableVoltage = -1.0f;

struct CoreCondition {
    Text prefix{};                   // empty: any prefix
    std::int16_t generation = kAny;  // 1 K7, 2 K8
    Text revision{};                 // empty: any revision code
    std::int16_t l2CacheKb = kAny;
    float voltage = kAnyVoltage;
};

// What a rule sets when its inner condition (cache, voltage) holds.
struct CoreOutcome {
    std::int16_t l2CacheKb = kAny;
    float voltage = kAnyVoltage;
    Text core{};
    std::int16_t cpuModel = kUnchanged;
    float process = 0.0f;  // 0: keep the family's process
    std::int16_t cores = 1;
};

// A rule holds when any of its conditions does; then the first outcome whose
// inner condition holds is applied. A rule that holds ends its group even
// when none of its outcomes applies.
struct CoreRule {
    std::array<CoreCondition, 4> when{};  // unused conditions match nothing
    std::array<CoreOutcome, 3> then{};    // unused outcomes have no core
};

// clang-format off
// Group A: tried in order, the first rule that holds decides.
inline constexpr std::array<CoreRule, 10> kCoreRulesA{{
    {{{{u"ADAFX"}}},                                            {{{kAny, kAnyVoltage, u"SledgeHammer"}}}},
    {{{{u"SDA", 1}, {u"SDC"}}},                                 {{{256, kAnyVoltage, u"Thoroughbred", kThoroughbredModel},
                                                                  {512, kAnyVoltage, u"Barton", kBartonModel}}}},
    {{{{u"SDA", 2}}},                                           {{{kAny, kAnyVoltage, u"Paris"}}}},
    {{{{u"SDS", 2}}},                                           {{{kAny, kAnyVoltage, u"Thoroughbred/Thorton", kBartonModel}}}},
    // The dual-core parts: one MB of cache per core is a Toledo.
    {{{{u"ADA", kAny, u"BV"}, {u"", kAny, u"CD"}}},             {{{1024, kAnyVoltage, u"Manchester", kUnchanged, 0.0f, 2},
                                                                  {2048, kAnyVoltage, u"Toledo", kUnchanged, 0.0f, 2}}}},
    {{{{u"ADA", kAny, u"", 1024}}},                             {{{kAny, kAnyVoltage, u"ClawHammer"}}}},
    {{{{u"ADA", kAny, u"", 512, 1.5f}}},                        {{{kAny, kAnyVoltage, u"NewCastle"}}}},
    {{{{u"", kAny, u"", kAny, kVariableVoltage},
       {u"ADA", kAny, u"", 512, 1.4f}}},                        {{{kAny, kAnyVoltage, u"WinChester", kUnchanged, 0.09f}}}},
    {{{{u"AMA"}, {u"AMN"}}},                                    {{{kAny, kAnyVoltage, u"ClawHammer"}}}},
    {{{{u"OSA"}}},                                              {{{kAny, kAnyVoltage, u"SledgeHammer"}}}},
}};

// Group B, the K7 cores: tried after group A on every run; the first rule
// that holds overrides whatever group A set. Durons with 64 KB of level-2
// cache are told apart by their voltage.
inline constexpr std::array<CoreRule, 11> kCoreRulesB{{
    {{{{u"AXDA", kAny, u"", 512}}},                             {{{kAny, kAnyVoltage, u"Barton", kBartonModel}}}},
    {{{{u"AXDC", kAny, u"", 256}}},                             {{{kAny, kAnyVoltage, u"Thorton", kBartonModel}}}},
    {{{{u"AXDA", kAny, u"", 256}}},                             {{{kAny, kAnyVoltage, u"Thoroughbred", kThoroughbredModel}}}},
    {{{{u"AXLD", kAny, u"", 256}}},                             {{{kAny, kAnyVoltage, u"Thoroughbred", kThoroughbredModel}}}},
    {{{{u"AXDL", kAny, u"", 512}}},                             {{{kAny, kAnyVoltage, u"Barton", kBartonModel}}}},
    {{{{u"AX", kAny, u"", 256}}},                               {{{kAny, kAnyVoltage, u"Palomino", kPalominoModel}}}},
    {{{{u"K7", kAny, u"", 256}}},                               {{{kAny, kAnyVoltage, u"Thunderbird", kThunderbirdModel}}}},
    {{{{u"A", kAny, u"", 256}}},                                {{{kAny, kAnyVoltage, u"Thunderbird", kThunderbirdModel}}}},
    {{{{u"AXMH", kAny, u"", 512}}},                             {{{kAny, kAnyVoltage, u"Barton", kBartonModel}}}},
    {{{{u"AXMG", kAny, u"", 512}}},                             {{{kAny, kAnyVoltage, u"Barton", kBartonModel}}}},
    {{{{u"DHD", kAny, u"", 64}, {u"DHM", kAny, u"", 64},
       {u"DHL", kAny, u"", 64}, {u"D", kAny, u"", 64}}},        {{{kAny, 1.6f, u"Spitfire", kSpitfireModel},
                                                                  {kAny, 1.75f, u"Morgan", kMorganModel},
                                                                  {kAny, 1.5f, u"Applebred", kThoroughbredModel, 0.13f}}}},
}};
// clang-format on

// ---- Core refinements ------------------------------------------------------
// A Thoroughbred's stepping code refines its core: the last letter tells
// revision A from B, the first the high-end from the low-end grade.
struct Refinement {
    Text letter;
    Text refinement;  // as the core's name carries it
    Text fact;        // as the findings record it
};
inline constexpr std::array<Refinement, 2> kThoroughbredRevisions{{
    {u"A", u" A", u"A"},
    {u"B", u" B", u"B"},
}};
inline constexpr std::array<Refinement, 2> kThoroughbredGrades{{
    {u"A", u" High end", u"High end"},
    {u"J", u" Low end", u"Low end"},
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

// Which column of the K7 table a rated part reads, by core, bus and prefix;
// the first branch that holds decides. A core name "begins with" a name when
// the refined names ("Thoroughbred B High end", "Thoroughbred/Thorton") are
// meant too.
enum class NameTest { Is, BeginsWith };

// What a branch does: read a column, or work the multiplier out of the clock
// that Code One carries (the Applebred on its 266 MHz bus).
inline constexpr int kMultiplierFromClock = 0;

struct K7ClockBranch {
    NameTest test;
    Text core;
    std::int16_t fsbMhz;           // kAny: any bus
    std::array<Text, 2> prefixes;  // both empty: any prefix
    int column;                    // 1 to 8, or kMultiplierFromClock
    bool unlistedIsUnsupported;    // a rating without a cell is a chip the tool cannot decode
};

// clang-format off
inline constexpr std::array<K7ClockBranch, 9> kK7ClockBranches{{
    {NameTest::Is,         u"Palomino",     kAny, {}, 1, false},
    {NameTest::BeginsWith, u"Thoroughbred", 266,  {}, 2, false},
    {NameTest::BeginsWith, u"Thoroughbred", 333,  {u"SDA", u"SDC"}, 3, false},
    {NameTest::BeginsWith, u"Thoroughbred", 333,  {}, 4, false},
    // A Barton on a 266 MHz bus is a mobile part whose ratings the table must list.
    {NameTest::BeginsWith, u"Barton",       266,  {}, 5, true},
    {NameTest::BeginsWith, u"Barton",       333,  {}, 6, false},
    {NameTest::BeginsWith, u"Barton",       400,  {}, 7, false},
    {NameTest::BeginsWith, u"Thorton",      266,  {}, 8, false},
    {NameTest::Is,         u"Applebred",    266,  {}, kMultiplierFromClock, false},
}};
// clang-format on

// Cells that a prefix changes: the Sempron sold at a lower clock than the
// Athlon XP of the same rating.
struct K7ClockException {
    int column;
    std::int16_t rating;
    Text prefix;
    ClockCell cell;
};

inline constexpr std::array<K7ClockException, 1> kK7ClockExceptions{{
    {6, kSempronBartonRating, u"SDA", kSempronBarton3000},
}};

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
inline constexpr std::array<K8ClockRow, 8> kOpteronClock{{
    {40, 1400, 7.0f, kK8BusMhz},
    {42, 1600, 8.0f, kK8BusMhz},
    {44, 1800, 9.0f, kK8BusMhz},
    {46, 2000, 10.0f, kK8BusMhz},
    {48, 2200, 11.0f, kK8BusMhz},
    {50, 2400, 12.0f, kK8BusMhz},
    {52, 2600, 13.0f, kK8BusMhz},
    {54, 2800, 14.0f, kK8BusMhz},
}};

// Which K8 clock rows a core reads. A branch holds when any of its core and
// cache pairs does and the family fits; the first that holds decides, and its
// rows are chosen by the level-2 cache.
enum class K8Key { Model, LastTwoOfThreeDigits };

struct CoreAndCache {
    Text core{};  // empty: an unused pair
    std::int16_t l2CacheKb = kAny;
};

struct K8RowsByCache {
    std::int16_t l2CacheKb = kAny;
    std::span<const K8ClockRow> rows{};
};

struct K8ClockBranch {
    std::array<CoreAndCache, 2> when{};
    Text family{};         // empty: any family
    Text renamesFamily{};  // empty: the family stays
    std::array<K8RowsByCache, 2> rows{};
    K8Key key = K8Key::Model;
};

// clang-format off
inline constexpr std::array<K8ClockBranch, 5> kK8ClockBranches{{
    {{{{u"ClawHammer", 512}, {u"NewCastle"}}}, u"", u"",                 {{{kAny, kNewCastleClock}}}},
    // The dual cores are sold as the X2 whether or not their rating is listed.
    {{{{u"Manchester"}, {u"Toledo"}}},         u"", u"AMD Athlon 64 X2", {{{1024, kX2Clock1024}, {2048, kX2Clock2048}}}},
    {{{{u"WinChester", 512}}},                 u"", u"",                 {{{kAny, kWinChesterClock}}}},
    {{{{u"ClawHammer", 1024}}},                u"", u"",                 {{{kAny, kClawHammer1024Clock}}}},
    {{{{u"Paris"}}},                           u"", u"",                 {{{kAny, kParisClock}}}},
}};

// Looked up after the branches above, whatever they did.
inline constexpr std::array<K8ClockBranch, 2> kSledgeHammerClockBranches{{
    {{{{u"SledgeHammer"}}}, u"AMD Athlon 64 FX", u"", {{{kAny, kFxClock}}}},
    {{{{u"SledgeHammer"}}}, u"AMD Opteron",      u"", {{{1024, kOpteronClock}}}, K8Key::LastTwoOfThreeDigits},
}};
// clang-format on

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

template <typename Rows, typename Key>
consteval bool KeysAscending(const Rows& rows, Key key) {
    for (std::size_t i = 1; i < rows.size(); ++i) {
        if (!(key(rows[i - 1]) < key(rows[i]))) {
            return false;
        }
    }
    return true;
}

// Whether every decode that meets `later` also meets `earlier`.
constexpr bool Covers(const CoreCondition& earlier, const CoreCondition& later) {
    return (earlier.prefix.empty() || earlier.prefix == later.prefix) &&
           (earlier.generation == kAny || earlier.generation == later.generation) &&
           (earlier.revision.empty() || earlier.revision == later.revision) &&
           (earlier.l2CacheKb == kAny || earlier.l2CacheKb == later.l2CacheKb) &&
           (earlier.voltage == kAnyVoltage || earlier.voltage == later.voltage);
}

constexpr bool IsUnused(const CoreCondition& c) {
    return c.prefix.empty() && c.generation == kAny && c.revision.empty() && c.l2CacheKb == kAny &&
           c.voltage == kAnyVoltage;
}

// In an ordered rule list every rule can still hold: none is taken entirely
// by the rules before it, and each has a condition and an outcome.
template <std::size_t N>
consteval bool EveryRuleReachable(const std::array<CoreRule, N>& rules) {
    for (std::size_t r = 0; r < N; ++r) {
        if (IsUnused(rules[r].when[0]) || rules[r].then[0].core.empty()) {
            return false;
        }
        bool someConditionOpen = false;
        for (const CoreCondition& c : rules[r].when) {
            bool taken = IsUnused(c);
            for (std::size_t e = 0; e < r && !taken; ++e) {
                for (const CoreCondition& ec : rules[e].when) {
                    taken = taken || (!IsUnused(ec) && Covers(ec, c));
                }
            }
            someConditionOpen = someConditionOpen || !taken;
        }
        if (!someConditionOpen) {
            return false;
        }
    }
    return true;
}

// A K7 clock branch with a narrower prefix list must come before the branch
// of the same core and bus for any prefix, or it could never hold.
consteval bool K7BranchesReachable() {
    for (std::size_t i = 0; i < kK7ClockBranches.size(); ++i) {
        const K7ClockBranch& b = kK7ClockBranches[i];
        if (b.column < kMultiplierFromClock || b.column > 8) {
            return false;
        }
        for (std::size_t e = 0; e < i; ++e) {
            const K7ClockBranch& a = kK7ClockBranches[e];
            if (a.test == b.test && a.core == b.core && a.fsbMhz == b.fsbMhz &&
                a.prefixes[0].empty()) {
                return false;
            }
        }
    }
    return true;
}

constexpr auto kLetter = [](const auto& r) { return r.letter; };
constexpr auto kModel = [](const K8ClockRow& r) { return r.model; };

static_assert(KeysUnique(kFamilyTable, [](const FamilyRow& r) { return r.prefix; }));
static_assert(KeysUnique(kAmd64RevisionTable, [](const RevisionRow& r) { return r.code; }));
static_assert(KeysUnique(kK7Package, kLetter) && KeysUnique(kK8Package, kLetter));
static_assert(KeysUnique(kK7Voltage, kLetter) && KeysUnique(kK8Voltage, kLetter));
static_assert(KeysUnique(kK7Temperature, kLetter) && KeysUnique(kK8Temperature, kLetter));
static_assert(KeysUnique(kK7Bus, kLetter));
static_assert(KeysAscending(kK7ClockTable, [](const K7ClockRow& r) { return r.rating; }));
static_assert(KeysAscending(kNewCastleClock, kModel) && KeysAscending(kX2Clock1024, kModel) &&
              KeysAscending(kX2Clock2048, kModel) && KeysAscending(kWinChesterClock, kModel) &&
              KeysAscending(kClawHammer1024Clock, kModel) && KeysAscending(kParisClock, kModel) &&
              KeysAscending(kFxClock, kModel) && KeysAscending(kOpteronClock, kModel));
static_assert(EveryRuleReachable(kCoreRulesA) && EveryRuleReachable(kCoreRulesB));
static_assert(K7BranchesReachable());

}  // namespace varnel::tables
