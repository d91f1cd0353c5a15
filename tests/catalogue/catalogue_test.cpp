// The catalogue as the program carries it: every row of the data file, the
// lookups a Code One takes.

#include <gtest/gtest.h>

#include <QFile>

#include "catalogue/catalogue.h"
#include "catalogue/part.h"

using namespace varnel::catalogue;

namespace {

const Catalogue& Builtin() {
    return Catalogue::Builtin();
}

TEST(CatalogueTest, CarriesEveryRowOfTheDataFile) {
    QFile file(QStringLiteral(VARNEL_PARTS_TSV));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const qsizetype lines =
        QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts).size();
    EXPECT_EQ(Builtin().Count(), lines - 1);  // less the header
    EXPECT_EQ(Builtin().All().front().opn, QStringLiteral("A0600AMT3B"));
}

// The comparisons and calculators read the plain numbers of their parts;
// a voltage range and a HyperTransport bus only here.
TEST(CatalogueTest, ReadsRangesAndBuses) {
    const Part* ranged = Builtin().Lookup(u"ADO485BIAA5DO");
    ASSERT_NE(ranged, nullptr);
    EXPECT_EQ(ranged->voltageLow, 1.10);
    EXPECT_EQ(ranged->voltageHigh, 1.35);
    EXPECT_EQ(ColumnValue(*ranged, ColumnIndex(u"voltage_v")),
              QVariant(QStringLiteral("1.10-1.35")));
    EXPECT_EQ(ranged->busKind, BusKind::HyperTransport);
    EXPECT_FALSE(ColumnValue(*ranged, ColumnIndex(u"max_temp_c")).isValid());
}

// A later file may order its columns differently, add one, or end a row
// early; lines without an OPN and repeated OPNs do not make parts.
TEST(CatalogueTest, ReadsColumnsByTheirHeaderNames) {
    const Catalogue small(
        u"notes\tweight_g\topn\tl2_kb\tcore\r\n"
        u"first\t25\tAXDA2500DKV4D\t512\tBarton\r\n"
        u"\t\t\t256\tThoroughbred\n"
        u"second\t25\tAXDA2500DKV4D\t256\tThorton\n"
        u"short\t\tADA3000DAA4BP\n");
    ASSERT_EQ(small.Count(), 2);
    EXPECT_EQ(small.All()[0].notes, QStringLiteral("first"));
    EXPECT_EQ(small.All()[0].l2Kb, 512);
    EXPECT_EQ(small.All()[0].core, QStringLiteral("Barton"));
    EXPECT_EQ(small.All()[1].opn, QStringLiteral("ADA3000DAA4BP"));
    EXPECT_FALSE(small.All()[1].l2Kb.has_value());
}

TEST(CatalogueTest, LooksUpCodeOneAsTheCodeBoxReadsIt) {
    EXPECT_NE(Builtin().Lookup(u"ADA3700DAA5BN"), nullptr);
    EXPECT_NE(Builtin().Lookup(u" ada3700\u200Bdaa5bn\t"), nullptr);
    EXPECT_EQ(Builtin().Lookup(u"ADA3700DAA5BM"), nullptr);
    EXPECT_EQ(Builtin().Lookup(u""), nullptr);
}

struct NearCase {
    const char16_t* code;
    int max;
    const char* expected;  // OPNs joined by ,
};

TEST(CatalogueTest, OffersNearOpnsForAMiss) {
    const NearCase cases[] = {
        // the digit zero for the letter O first, then another letter, then two away
        {u"ADH2350IAA5D0", 3, "ADH2350IAA5DO,ADH2350IAA5DD,ADH2300IAA5DO"},
        {u"axda25oodkv4d", 3, "AXDA2500DKV4D"},  // two O/0 twins
        // one character away, in the order of the data; two away are not reached
        {u"AXDA2500DKV4C", 3, "AXDA2500DKV4D,AXDA2600DKV4C,AXDA2800DKV4C"},
        {u"AXDA2500DKV4C", 1, "AXDA2500DKV4D"},
        // a listed OPN is not its own neighbour
        {u"ADA3700DAA5BN", 3, "ADA3500DAA4BN,ADA3800DAA5BV,ADA4000DAA5BN"},
        // a character dropped, one too many, two neighbours swapped: one edit each
        {u"AXDA2500DKV4", 3, "AXDA2500DKV4C,AXDA2500DKV4D,AXDA2600DKV4C"},
        {u"ADA3200AEP4AXX", 3, "ADA3200AEP4AX,ADA3000AEP4AX,ADA3400AEP4AX"},
        {u"AXDA2500DKVD4", 3, "AXDA2500DKV4D,AXDA2500DKV4C,AXDA2600DKV4D"},
        {u"XXXXXXXXXXXXX", 3, ""},
    };
    for (const NearCase& c : cases) {
        EXPECT_EQ(Builtin().NearOpns(QStringView(c.code), c.max).join(u',').toStdString(),
                  c.expected);
    }
}

TEST(CatalogueTest, FindsPartsByOpnFamilyCoreOrRating) {
    QStringList sanDiego;
    for (const Part* part : Builtin().Find(u"san diego")) {
        sanDiego.append(part->opn);
    }
    EXPECT_EQ(sanDiego.size(), 7);
    EXPECT_TRUE(sanDiego.contains(QStringLiteral("ADA3700DAA5BN")));
    ASSERT_EQ(Builtin().Find(u"FX-55").size(), 2);
    EXPECT_EQ(Builtin().Find(u"FX-55").front()->opn, QStringLiteral("ADAFX55DAA5BN"));
    EXPECT_TRUE(Builtin().Find(u"Pentium").isEmpty());
}

}  // namespace
