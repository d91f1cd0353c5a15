// Real chips of the catalogue held against the decode of their Code One. Every
// decoded text is worked out by hand from the marking rules, never copied from
// a run of the program; the slots the comparison does not read (stepping,
// date and batch) are left blank.

#include <gtest/gtest.h>

#include "catalogue/catalogue.h"
#include "catalogue/comparison.h"

using namespace varnel::catalogue;

namespace {

DecodedValues Decoded(const char* joined) {
    const QStringList texts = QString::fromUtf8(joined).split(u'|');
    DecodedValues values;
    for (qsizetype i = 0; i < texts.size() && i < qsizetype(values.size()); ++i) {
        values[static_cast<std::size_t>(i)] = texts[i];
    }
    return values;
}

// One character per fact, in the order of the facts (core, revision, CPUID,
// clock, L2, voltage, temperature, TDP, socket, package, process):
// A agrees, D differs, - not compared.
std::string Verdicts(const QList<FactRow>& facts) {
    std::string verdicts;
    for (const FactRow& fact : facts) {
        verdicts += fact.agreement == Agreement::Agrees    ? 'A'
                    : fact.agreement == Agreement::Differs ? 'D'
                                                           : '-';
    }
    return verdicts;
}

struct ChipCase {
    const char* opn;
    const char* decoded;  // the nineteen result texts, joined by |
    const char* verdicts;
    const char* differs;  // captions, joined by ,
};

constexpr ChipCase kChips[] = {
    {"AXDA2500DKV4D",  // Barton: everything the decode reads is right
     "Barton|A|2500+|1833MHz|OPGA|1.65v|85°C|128KB|512KB|11.0x|333MHz||||||N/A|0.13u|"
     "(Currently Disabled)",
     "A-AAAAA--AA", ""},
    {"ADA3700DAA5BN",  // a 90 nm San Diego read as a 130 nm ClawHammer at 2400 MHz
     "ClawHammer|4 (E3)|3700+|2400MHz|939 pin Lidded OµPGA|(Variable)|(Variable)|128KB|1024KB|"
     "12.0x|400MHz||||||N/A|0.13u|(Currently Disabled)",
     "DDDDA---AAD", "Core,CPU Model,Working frequency,Multiplier,Process Technology"},
    {"ADA3000DAA4BP",  // Venice read as WinChester; clock and process still right
     "WinChester|4 (E3)|3000+|1800MHz|939 pin Lidded OµPGA|(Variable)|(Variable)|128KB|512KB|"
     "9.0x|400MHz||||||N/A|0.09u|(Currently Disabled)",
     "DADAA---AAA", "Core,CPU Model"},
    {"SDA3000AIO2BA",  // Palermo read as Paris, with no clock row for its rating
     "Paris|0 (?\?)|3000+|Unknown Processor|754 pin Lidded OµPGA|1.40v|69°C|128KB|128KB|"
     "Unknown Processor|Unknown Processor||||||N/A|0.13u|(Currently Disabled)",
     "D---AAA-AAD", "Core,Process Technology"},
    {"ADA3000DIK4BI",  // Winchester in other capitals; revision BI gives model F1, not 1F
     "WinChester|F1 (D0)|3000+|1800MHz|939 pin Lidded OµPGA|1.40v|65°C|128KB|512KB|9.0x|"
     "400MHz||||||N/A|0.09u|(Currently Disabled)",
     "AADAAAA-AAA", "CPU Model"},
    {"ADA3500DEP4AW",  // NewCastle: no clock row for 3500+
     "NewCastle|F (CG)|3500+|Unknown Processor|939 pin Lidded OµPGA|1.50v|70°C|128KB|512KB|"
     "Unknown Processor|Unknown Processor||||||N/A|0.13u|(Currently Disabled)",
     "AAA-AAA-AAA", ""},
    {"ADA4800DAA6CD",  // Toledo: 2 x 1024 KB is the 2048 KB of the cache digit
     "Toledo|23 (E6)|4800+|2400MHz|939 pin Lidded OµPGA|(Variable)|(Variable)|128KB|2048KB|"
     "12.0x|400MHz||||||N/A|0.13u|(Currently Disabled)",
     "AAAAA---AAD", "Process Technology"},
    {"ADAFX55DAA5BN",  // FX-55: its 200 MHz reference beside HT 1000 is no difference
     "SledgeHammer|4 (E3)|FX-55|2600MHz|939 pin Lidded OµPGA|(Variable)|(Variable)|128KB|"
     "1024KB|13.0x|200MHz||||||N/A|0.13u|(Currently Disabled)",
     "DDDAA---AAD", "Core,CPU Model,Process Technology"},
    {"OSA142CEP5AT",  // Opteron: the socket from the pin count, the carrier not compared
     "SledgeHammer|5 (CG)|142 (1-Way)|1600MHz|940 pin Lidded CµPGA|1.50v|70°C|128KB|1024KB|"
     "8.0x|400MHz||||||N/A|0.13u|(Currently Disabled)",
     "A--AAAA-A-A", ""},
    {"A1400AMS3C",  // Thunderbird: the clock from the marking, 1400 / 133 = 10.5
     "Thunderbird|4|N/A|1400MHz|CPGA|1.75v|95°C|128KB|256KB|10.5x|266MHz||||||N/A|0.18u|"
     "(Currently Disabled)",
     "A-AAAAA--AA", ""},
    {"AXDA2400DKV3C",  // stepping ending in B: the catalogue's revision
     "Thoroughbred B|8|2400+|2000MHz|OPGA|1.65v|85°C|128KB|256KB|15.0x|266MHz||||||45|0.13u|"
     "(Currently Disabled)",
     "AAAAAAA--AA", ""},
    {"AXDA2400DKV3C",  // stepping AIUHA: an A revision against the catalogue's B
     "Thoroughbred A High end|8|2400+|2000MHz|OPGA|1.65v|85°C|128KB|256KB|15.0x|266MHz||||||"
     "45|0.13u|(Currently Disabled)",
     "ADAAAAA--AA", "Core"},
    {"A0700MPR24B",  // Slot A: no package or bus letter, cache digit 2 read as 128 KB
     "(Unknown)|0|N/A|700MHz|1|1.70v|70°C|128KB|128KB|Unknown Processor|Unknown Processor||||"
     "||N/A|0.18u|(Currently Disabled)",
     "---ADAA---A", "L2 Cache"},
    {"ADA3500IAA4CW",  // AM2 Orleans: no package letter I, voltage A read as WinChester
     "WinChester|0 (?\?)|3500+|2200MHz|1|(Variable)|(Variable)|128KB|512KB|11.0x|400MHz||||||"
     "N/A|0.09u|(Currently Disabled)",
     "D--AA-----A", "Core"},
    {"ADO4200IAA5DO",  // AM2 Brisbane: no family prefix, the decode stops at once
     "||||||||||||||||||", "-----------", ""},
};

TEST(ComparisonTest, HoldsRealChipsAgainstTheirDecode) {
    for (const ChipCase& chip : kChips) {
        const Part* part = Catalogue::Builtin().Lookup(QString::fromLatin1(chip.opn));
        ASSERT_NE(part, nullptr) << chip.opn;
        const QList<FactRow> facts = CompareWithDecode(*part, Decoded(chip.decoded));
        EXPECT_EQ(Verdicts(facts), chip.verdicts) << chip.opn;
        EXPECT_EQ(DifferingCaptions(facts).join(u','), QString::fromUtf8(chip.differs)) << chip.opn;
        EXPECT_EQ(CountDiffering(facts), std::count(chip.verdicts, chip.verdicts + 11, 'D'));
    }
}

// What the two columns show for a San Diego read as a ClawHammer.
TEST(ComparisonTest, ShowsBothSidesInTheirOwnWords) {
    const Part* part = Catalogue::Builtin().Lookup(u"ADA3700DAA5BN");
    ASSERT_NE(part, nullptr);
    const QList<FactRow> facts = CompareWithDecode(*part, Decoded(kChips[1].decoded));
    QStringList lines;
    for (const FactRow& fact : facts) {
        lines.append(QStringList{fact.label, fact.catalogueText, fact.decodedText}.join(
            QStringLiteral(" | ")));
    }
    const char* expected[] = {
        "Core | San Diego | ClawHammer",
        "Revision | SH-E4 | E3",
        "CPUID | 20F71 (model 27) | model 4",
        "Clock (multiplier × bus) | 2200MHz, 11.0x, HT 1000 | 2400MHz, 12.0x, 400MHz",
        "L2 cache and cores | 1024KB, 1 core | 1024KB",
        "Voltage |  | (Variable)",
        "Maximum temperature |  | (Variable)",
        "TDP | 85.3W | (Currently Disabled)",
        "Socket | Socket 939 | Socket 939",
        "Package | lidded OuPGA | 939 pin Lidded OµPGA",
        "Process | 90nm | 0.13u",
    };
    ASSERT_EQ(lines.size(), std::size(expected));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].toStdString(), expected[i]);
    }
}

}  // namespace
