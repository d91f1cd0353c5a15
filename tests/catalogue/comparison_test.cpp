// Real chips of the catalogue held against the decode of their marking. The
// markings come from the hand-worked markings file, Code One (and where
// given the part) replaced; every expected state is worked out by hand from
// the marking rules and the catalogue's row, never copied from a run.

#include <gtest/gtest.h>

#include "catalogue/catalogue.h"
#include "catalogue/comparison.h"
#include "catalogue/verdict.h"
#include "decode/engine.h"
#include "support/fakes.h"
#include "support/markings.h"

using namespace varnel;
using namespace varnel::catalogue;

namespace {

// The sheet of one Check of a marking of the file, its Code One replaced.
Sheet Decode(const char* marking, const char* codeOne) {
    ScriptedPrompter prompter;
    RecordingUrlOpener opener;
    DecodeEngine engine(prompter, opener);
    Codes codes = testdata::MarkingNamed(marking).codes;
    codes[0] = QString::fromLatin1(codeOne);
    engine.Check(codes);
    return engine.Results();
}

// One character per row of FactRows (family, core, revision, CPUID, clock,
// L2, cores, voltage, temperature, TDP, socket, package, process): A agrees,
// D differs, ? not read by the rules, - not compared.
std::string States(const QList<FactRow>& rows) {
    std::string states;
    for (const FactRow& row : rows) {
        constexpr char kMarks[] = {'-', 'A', '?', 'D'};
        states += kMarks[static_cast<int>(row.agreement)];
    }
    return states;
}

std::string Joined(const std::vector<std::u16string_view>& names) {
    QStringList joined;
    for (std::u16string_view name : names) {
        joined.append(QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size())));
    }
    return joined.join(u',').toStdString();
}

struct ChipCase {
    const char* marking;  // the row of the markings file
    const char* codeOne;
    const char* opn;  // the part held against it; null: Code One's own
    Verdict verdict;
    const char* states;
    const char* differs;  // names, joined by ,
    const char* notRead;
};

constexpr ChipCase kChips[] = {
    // Barton: everything the rules read is right; K7 letters name no socket.
    {"BartonOn333", "AXDA2500DKV4D", nullptr, Verdict::Matches, "AA-AAAAAA--AA", "", ""},
    // The letters Z and Z read 0.00v and 0°C: not read, and no difference.
    {"BartonOn333", "AXDA2500DZZ4D", "AXDA2500DKV4D", Verdict::PartlyRead, "AA-AAAA?\?--AA", "",
     "Operating Voltage,Max. Operating Temperature"},
    // The Sempron column lists 2300+ at 1567 MHz; the part runs at 1583: 1 % off differs.
    {"BartonOn333", "SDC2300DUT3D", nullptr, Verdict::Differs, "AA--DAAAA--AA", "Working frequency",
     ""},
    // The stepping's B is the catalogue's revision; an A is not.
    {"ThoroughbredBHighEnd", "AXDA2400DKV3C", nullptr, Verdict::Matches, "AAAAAAAAA--AA", "", ""},
    {"ThoroughbredALowEnd", "AXDA2400DKV3C", nullptr, Verdict::Differs, "AADAAAAAA--AA", "Core",
     ""},
    // A 90 nm San Diego read as a 130 nm ClawHammer at 2400 MHz.
    {"Athlon64ClawHammer", "ADA3700DAA5BN", nullptr, Verdict::Differs, "ADDDDAA---AAD",
     "Core,CPU Model,Working frequency,Multiplier,Process Technology", ""},
    // NewCastle: no clock row for 3400+, so clock and multiplier are unread;
    // a HyperTransport link is no front-side bus to compare.
    {"Athlon64ClawHammer", "ADA3400AEP4AX", nullptr, Verdict::PartlyRead, "AAAA?AAAA-AAA", "",
     "Working frequency,Multiplier"},
    // "AMD Athlon 64 Mobile" is the catalogue's "Mobile Athlon 64".
    {"Athlon64ClawHammer", "AMA3000BEX5AR", nullptr, Verdict::Matches, "AAAAAAAAA-AAA", "", ""},
    // An AM2 X2 read as a single-core ClawHammer: family and cores differ,
    // and the package letter I is in no table.
    {"Athlon64ClawHammer", "ADA4200IAA5CU", nullptr, Verdict::Differs, "DD?-?AD---?\?D",
     "Family,Core,Cores,Process Technology", "CPU Model,Working frequency,Package Type,Multiplier"},
    // No family's letters open ADD: the decode stops and compares nothing.
    {"Athlon64ClawHammer", "ADD3500IAA4CN", nullptr, Verdict::DecodeStopped, "-------------", "",
     ""},
};

TEST(ComparisonTest, HoldsRealChipsAgainstTheirDecode) {
    for (const ChipCase& chip : kChips) {
        const Sheet sheet = Decode(chip.marking, chip.codeOne);
        const Part* part = Catalogue::Builtin().Lookup(
            QString::fromLatin1(chip.opn != nullptr ? chip.opn : chip.codeOne));
        ASSERT_NE(part, nullptr) << chip.codeOne;
        const Comparison comparison = Compare(*part, sheet);
        EXPECT_EQ(VerdictOf(comparison), chip.verdict) << chip.codeOne;
        EXPECT_EQ(States(FactRows(*part, sheet)), chip.states) << chip.codeOne;
        EXPECT_EQ(Joined(NamesThat(comparison, Agreement::Differs)), chip.differs) << chip.codeOne;
        EXPECT_EQ(Joined(NamesThat(comparison, Agreement::NotRead)), chip.notRead) << chip.codeOne;
    }
}

// Over every part of the catalogue, marked as a collector would type it: a
// decode the verdict calls a match has read every fact the catalogue knows,
// and each verdict is met.
TEST(VerdictTest, NoMatchHidesAnUnreadOrDifferingFact) {
    std::array<int, 5> seen{};
    for (const Part& part : Catalogue::Builtin().All()) {
        ScriptedPrompter prompter;
        RecordingUrlOpener opener;
        DecodeEngine engine(prompter, opener);
        engine.Check({part.opn,
                      part.socket == u"Socket A" ? QStringLiteral("KQXEB0345MPMW")
                                                 : QStringLiteral("CCBWE0612MPMW"),
                      QStringLiteral("Y3121234")});
        const Comparison comparison = Compare(part, engine.Results());
        const Verdict verdict = VerdictOf(comparison);
        ++seen[static_cast<std::size_t>(verdict)];
        if (verdict == Verdict::Matches) {
            EXPECT_TRUE(NamesThat(comparison, Agreement::Differs).empty())
                << part.opn.toStdString();
            EXPECT_TRUE(NamesThat(comparison, Agreement::NotRead).empty())
                << part.opn.toStdString();
            EXPECT_NE(engine.Results()[Field::WorkingFrequency].ToQString(), u"Unknown Processor");
        }
    }
    EXPECT_EQ(seen[0], 0);  // every part is its own listing
    for (std::size_t verdict = 1; verdict < seen.size(); ++verdict) {
        EXPECT_GT(seen[verdict], 0) << verdict;
    }
}

}  // namespace
