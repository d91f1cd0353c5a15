// The two calculators over the real parts: ratings at a clock, clocks from
// multiplier and bus, power scaled from a part's TDP, and every refused entry.

#include <gtest/gtest.h>

#include "catalogue/calculators.h"
#include "catalogue/catalogue.h"

using namespace varnel::catalogue;

namespace {

const QList<Part>& Parts() {
    return Catalogue::Builtin().All();
}

const PartKind kPalomino{QStringLiteral("Athlon XP"), QStringLiteral("Palomino")};
const PartKind kThoroughbred{QStringLiteral("Athlon XP"), QStringLiteral("Thoroughbred")};
const PartKind kBarton{QStringLiteral("Athlon XP"), QStringLiteral("Barton")};
const PartKind kAthlon64{QStringLiteral("Athlon 64"), QString()};
const PartKind kSpitfire{QStringLiteral("Duron"), QStringLiteral("Spitfire")};

struct RatingCase {
    const PartKind* kind;
    double clockMhz;
    const char* expected;
};

const RatingCase kRatings[] = {
    // a real part's clock; the DTR part of the same clock rates on its own terms
    {&kBarton, 1833, "2500+ (AXDA2500DKV4D)"},
    // two parts within 1 % of 2090 MHz, at two buses
    {&kBarton, 2090, "2800+ (AXDA2800DKV4D, FSB 333)\n3000+ (AXDA3000DKV4E, FSB 400)"},
    {&kThoroughbred, 1667, "2000+ (AXDA2000DKT3C, AXDA2000DKV3C and 1 more)"},
    {&kAthlon64, 1800,
     "2800+ (ADA2800AEP4AP, ADA2800AEP4AR and 1 more, HT 800)\n"
     "3000+ (ADA3000DAA4BP, ADA3000DAA4BW and 3 more, HT 1000)"},
    {&kAthlon64, 2000,
     "3000+ (ADA3000AEP4AP, ADA3000AEP4AR and 2 more, HT 800, 512 KB)\n"
     "3200+ (ADA3200AEP5AP, ADA3200AEP5AR, HT 800, 1024 KB)\n"
     "3200+ (ADA3200DAA4BP, ADA3200DAA4BW and 5 more, HT 1000, 512 KB)"},
    // between parts: one line per core, or per cache size for the Athlon 64
    {&kBarton, 2260, "\u2248 3150+, estimated from 11 Barton parts (1833 to 2333 MHz)"},
    {&kAthlon64, 2300,
     "\u2248 3600+ for 512 KB parts, \u2248 3750+ for 1024 KB parts, estimated from 55 Athlon 64 "
     "parts (1000 to 2600 MHz)"},
    {&kPalomino, 150, "No estimate: 150 MHz is far below the Palomino parts (1333 to 1733 MHz)"},
};

TEST(CalculatorsTest, RatesAClockByTheRealPartsOfItsCore) {
    for (const RatingCase& row : kRatings) {
        const Rating rating = RateClock(Parts(), *row.kind, row.clockMhz);
        EXPECT_EQ(rating.text.toStdString(), row.expected) << row.clockMhz;
        EXPECT_EQ(rating.estimated, !QChar(row.expected[0]).isDigit()) << row.clockMhz;
    }
}

struct ClockCase {
    const PartKind* kind;
    const char* multiplier;
    const char* bus;
    const char* clockEntry;
    const char* expected;
};

const ClockCase kClocks[] = {
    {&kBarton, "11", "166.66", "1833", "11 \u00d7 166.66 = 1833 MHz: 2500+ (AXDA2500DKV4D)"},
    {&kPalomino, "11", "133.33", "1467", "11 \u00d7 133.33 = 1467 MHz: 1700+ (AX1700DMT3C)"},
    // the bus chosen picks the part of that bus among two within 1 %
    {&kBarton, " 12,5 ", "166.66", "2083", "12.5 \u00d7 166.66 = 2083 MHz: 2800+ (AXDA2800DKV4D)"},
    {&kBarton, "10.5", "200", "2100", "10.5 \u00d7 200 = 2100 MHz: 3000+ (AXDA3000DKV4E)"},
    {&kBarton, "2", "200", "", "Enter the multiplier, for example 11.5: 2 is outside 3 to 30"},
    {&kBarton, "11", "250", "", "Choose the front-side bus from the list"},
};

TEST(CalculatorsTest, ChecksMultiplierTimesTheListedBus) {
    for (const ClockCase& row : kClocks) {
        const ClockCheck check = CheckClock(Parts(), *row.kind, QString::fromUtf8(row.multiplier),
                                            QString::fromUtf8(row.bus));
        EXPECT_EQ(check.clockEntry.toStdString(), row.clockEntry);
        EXPECT_EQ(check.text.toStdString(), row.expected);
    }
}

struct PowerCase {
    const PartKind* kind;
    const char* speed;
    const char* volts;
    const char* expected;
};

const PowerCase kPowers[] = {
    {&kThoroughbred, "2133", "1.65",
     "\u2248 68.3 W, scaled from AXDA2600DKV3C: 2133 MHz, 1.65 V, 68.3 W"},
    {&kThoroughbred, "2133", "1,685",
     "\u2248 71.2 W, scaled from AXDA2600DKV3C: 2133 MHz, 1.65 V, 68.3 W"},
    {&kThoroughbred, "2200", "1.65",
     "\u2248 69.3 W, scaled from AXDA2700DKV3D: 2167 MHz, 1.65 V, 68.3 W"},
    // three parts at 1667 MHz: the one of the nearest voltage
    {&kThoroughbred, "1667", "1.6",
     "\u2248 60.3 W, scaled from AXDA2000DUT3C: 1667 MHz, 1.6 V, 60.3 W"},
    {&kSpitfire, "800", "1.6",
     "No estimate: the catalogue lists no Duron (Spitfire) part with a TDP and a voltage to "
     "scale from"},
    {&kBarton, "", "1.65", "Enter the clock speed in MHz, for example 2200"},
    {&kBarton, "2200", "1.6.5",
     "Enter the voltage in volts, for example 1.65: \u201c1.6.5\u201d is not a number"},
};

TEST(CalculatorsTest, ScalesTheNearestPartsTdp) {
    for (const PowerCase& row : kPowers) {
        EXPECT_EQ(EstimatePowerEntry(Parts(), *row.kind, QString::fromUtf8(row.speed),
                                     QString::fromUtf8(row.volts))
                      .toStdString(),
                  row.expected);
    }
    // at a part's own clock and voltage the estimate is its TDP, not near it
    for (const Part& part : Parts()) {
        if (part.family == u"Athlon XP" && part.tdpW && part.clockMhz && part.voltageLow) {
            const Power power =
                EstimatePower(Parts(), {part.family, part.core}, *part.clockMhz, *part.voltageLow);
            ASSERT_NE(power.from, nullptr) << part.opn.toStdString();
            EXPECT_EQ(power.watts, power.from->tdpW) << part.opn.toStdString();
            EXPECT_EQ(power.from->clockMhz, part.clockMhz) << part.opn.toStdString();
        }
    }
}

struct EntryCase {
    EntryField field;
    const char* text;
    double value;  // 0: refused
    const char* why;
};

const EntryCase kEntries[] = {
    {EntryField::ClockMhz, "2200", 2200, ""},
    {EntryField::Volts, " 1,65 ", 1.65, ""},
    {EntryField::ClockMhz, "  ", 0, ""},
    {EntryField::ClockMhz, "22oo", 0, ": \u201c22oo\u201d is not a number"},
    {EntryField::ClockMhz, "nan", 0, ": \u201cnan\u201d is not a number"},
    {EntryField::ClockMhz, "1,800.5", 0, ": \u201c1,800.5\u201d is not a number"},
    {EntryField::ClockMhz, "abcdefghijklmnopqrstuvwxyz", 0,
     ": \u201cabcdefghijklmnopqrst\u2026\u201d is not a number"},
    {EntryField::ClockMhz, "99.5", 0, ": 99.5 is outside 100 to 10000"},
    {EntryField::ClockMhz, "10001", 0, ": 10001 is outside 100 to 10000"},
    {EntryField::Multiplier, "2.5", 0, ": 2.5 is outside 3 to 30"},
    {EntryField::Volts, "0,4", 0, ": 0.4 is outside 0.5 to 2.5"},
    {EntryField::Volts, "2.6", 0, ": 2.6 is outside 0.5 to 2.5"},
};

// What each entry asks for, in the order of EntryField.
constexpr const char* kRequests[] = {"Enter the clock speed in MHz, for example 2200",
                                     "Enter the multiplier, for example 11.5",
                                     "Enter the voltage in volts, for example 1.65"};

TEST(CalculatorsTest, ReadsEntriesOrSaysWhatToEnter) {
    for (const EntryCase& row : kEntries) {
        const Entry entry = ReadEntry(row.field, QString::fromUtf8(row.text));
        if (row.value != 0) {
            EXPECT_EQ(entry.value, row.value) << row.text;
            EXPECT_TRUE(entry.message.isEmpty()) << row.text;
        } else {
            EXPECT_FALSE(entry.value) << row.text;
            EXPECT_EQ(entry.message, QString::fromUtf8(kRequests[static_cast<int>(row.field)]) +
                                         QString::fromUtf8(row.why))
                << row.text;
        }
    }
    EXPECT_EQ(RateClockEntry(Parts(), kBarton, u"1833,4").toStdString(), "2500+ (AXDA2500DKV4D)");
    EXPECT_EQ(RateClockEntry(Parts(), kBarton, u"0").toStdString(),
              "Enter the clock speed in MHz, for example 2200: 0 is outside 100 to 10000");
}

}  // namespace
