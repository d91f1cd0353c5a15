// Runs of the Check command over whole markings, compared slot by slot with
// what the decoding must show. Every expected text is worked out by hand from
// the marking, never copied from a run of the program.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "engine.h"
#include "memory_ports.h"
#include "shell.h"

using namespace varnel;

namespace {

const QString kTitle = QStringLiteral("Varnel");

Message Notice(const char* text) {
    return {QString::fromUtf8(text), MessageIcon::None, MessageButtons::Ok, kTitle};
}
Message Unsupported(const char* chip) {
    return {QStringLiteral("Chip '") + QString::fromUtf8(chip) +
                QStringLiteral("' is currently unsupported by Varnel"),
            MessageIcon::Exclamation, MessageButtons::Ok, QStringLiteral("Error")};
}

const Message kNotFound{QStringLiteral("CPU Identification String not found - Aborting\r\n\r\n"
                                       "Check for errors in the first code."),
                        MessageIcon::Exclamation, MessageButtons::Ok, QStringLiteral("Error")};
const Message kCodeOneError = Notice("Code one has an error in it - Please correct!");
const Message kNoStepping = Notice("Failed trying to retrieve stepping");
const Message kBoxTwoError{QStringLiteral("Error: Unable to read correct value in textbox two.\r\n"
                                          "\r\nTry switching Codes 2 and 3 around."),
                           MessageIcon::Exclamation, MessageButtons::Ok, kTitle};
const Message kBoxThreeError = Notice("Error: Unable to read correct value in textbox three.");
const Message kHangOn{
    QStringLiteral("One or more textboxes are empty.\r\n\r\n"
                   "You must type in the three alphanumeric codes found either on\r\n"
                   "or around the core of your CPU\r\n\r\n"
                   "For more information, visit the 'FAQ' section at the homepage.\r\n\r\n"
                   "Would you like to visit the FAQ now?"),
    MessageIcon::Information, MessageButtons::YesNo, QStringLiteral("Hang-on")};

constexpr const char* kAllBlank = "||||||||||||||||||";
constexpr const char* kWaiting = "[ Waiting ]";
constexpr const char* kStep = "KQXEB0345MPMW";  // stepping KQXEB, made in week 45 of 2003, batch M
constexpr const char* kLot = "Y3121234";        // batch production number 1234

// The Barton of the example marking, as it must read after a complete run.
constexpr const char* kBarton2500 =
    "Barton|A|2500+|1833MHz|OPGA|1.65v|85°C|128KB|512KB|11.0x|333MHz|KQXEB|Year 2003|"
    "Week 45|M|1234|N/A|0.13u|(Currently Disabled)";
constexpr const char* kClawHammer3200 =
    "ClawHammer|4 (C0)|3200+|2000MHz|754 pin Lidded OµPGA|1.50v|70°C|128KB|1024KB|10.0x|"
    "400MHz|KQXEB|Year 2003|Week 45|W|N/A|N/A|0.13u|(Currently Disabled)";

struct Codes {
    const char* one;
    const char* two;
    const char* three;
};

struct Case {
    const char* name;
    Codes codes;
    const char* caption;
    std::vector<Message> messages;
    const char* texts;  // the nineteen slot texts, '|' between them
    Codes before;       // checked first on the same engine, when given
};

Case Check(const char* name, Codes codes, const char* caption, std::vector<Message> messages,
           const char* texts, Codes before = {}) {
    return {name, codes, caption, std::move(messages), texts, before};
}

void PrintTo(const Case& row, std::ostream* os) {
    *os << row.name;
}

std::vector<std::string> Split(const char* texts) {
    std::vector<std::string> out;
    for (const QString& s : QString::fromUtf8(texts).split(QLatin1Char('|'))) {
        out.push_back(s.toStdString());
    }
    return out;
}

std::vector<std::string> Shown(const MemorySurface& surface) {
    std::vector<std::string> out;
    for (const QString& s : surface.Results()) {
        out.push_back(s.toStdString());
    }
    return out;
}

std::vector<std::string> Describe(const QList<Message>& messages) {
    std::vector<std::string> out;
    for (const Message& m : messages) {
        out.push_back(m.text.toStdString() + " | icon " + std::to_string(static_cast<int>(m.icon)) +
                      " | buttons " + std::to_string(static_cast<int>(m.buttons)) + " | " +
                      m.title.toStdString());
    }
    return out;
}

struct Bench {
    MemorySurface surface;
    ScriptedPrompter prompter;
    RecordingUrlOpener opener;
    DecodeEngine engine{surface, prompter, opener};

    bool Check(const Codes& c) {
        surface.SetCodes(QString::fromUtf8(c.one), QString::fromUtf8(c.two),
                         QString::fromUtf8(c.three));
        return engine.Check();
    }
};

class CheckRun : public testing::TestWithParam<Case> {};

TEST_P(CheckRun, ShowsWhatTheMarkingSays) {
    const Case& row = GetParam();
    Bench bench;
    if (row.before.one != nullptr) {
        bench.Check(row.before);
        bench.prompter.Clear();
    }
    EXPECT_TRUE(bench.Check(row.codes)) << "every row has three codes: a run starts";

    const std::vector<std::string> expected = Split(row.texts);
    ASSERT_EQ(expected.size(), 19u) << "the row lists the wrong number of slots";
    const std::vector<std::string> shown = Shown(bench.surface);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(shown[i], expected[i]) << "result slot " << i;
    }
    EXPECT_EQ(bench.surface.ResultsCaption().toStdString(), row.caption);
    EXPECT_EQ(Describe(bench.prompter.Messages()),
              Describe(QList<Message>(row.messages.begin(), row.messages.end())));
    EXPECT_EQ(bench.engine.LastRunCompleted(), expected[18] == "(Currently Disabled)");
}

std::string RowName(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

// The example marking and the family, number and revision of Code One.
const Case kCodeOne[] = {
    Check("BartonOn333", {"AXDA2500DKV4D", kStep, kLot}, "AMD Athlon XP", {}, kBarton2500),
    Check("TypedInLowerCase", {"axda2500dkv4d", kStep, kLot}, "AMD Athlon XP", {}, kBarton2500),
    Check("CodesTwoAndThreeInEachOthersBoxes", {"AXDA2500DKV4D", kLot, kStep}, "AMD Athlon XP", {},
          kBarton2500),
    Check("AthlonFxBeforeAthlon64", {"ADAFX53CEP5AT", kStep, kLot}, "AMD Athlon 64 FX", {},
          "SledgeHammer|5 (CG)|FX-53|2400MHz|940 pin Lidded CµPGA|1.50v|70°C|128KB|1024KB|"
          "12.0x|400MHz|KQXEB|Year 2003|Week 45|(Unknown)|(Unknown)|N/A|0.13u|"
          "(Currently Disabled)"),
    Check("Athlon64ClawHammer", {"ADA3200AEP5AP", kStep, kLot}, "AMD Athlon 64", {},
          kClawHammer3200),
    Check("SempronOfTwelveCharactersIsK7", {"SDA2500DUT3D", kStep, kLot}, "AMD Sempron", {},
          "Thoroughbred B|8|2500+|1750MHz|OPGA|1.60v|90°C|128KB|256KB|10.5x|333MHz|KQXEB|"
          "Year 2003|Week 45|M|1234|45|0.13u|(Currently Disabled)"),
    Check("SempronOfThirteenWithUnknownRevision", {"SDA3000AIO3BX", kStep, kLot}, "AMD Sempron", {},
          "Paris|0 (?\?)|3000+|Unknown Processor|754 pin Lidded OµPGA|1.40v|69°C|128KB|256KB|"
          "Unknown Processor|Unknown Processor|KQXEB|Year 2003|Week 45|(Unknown)|(Unknown)|N/A|"
          "0.13u|(Currently Disabled)"),
    Check("SlotAAthlonWithUnlistedPackage", {"K7600MTR51B", kStep, kLot}, "AMD Athlon", {},
          "(Unknown)|0|N/A|600MHz|1|1.20v|70°C|128KB|1024KB|Unknown Processor|"
          "Unknown Processor|KQXEB|Year 2003|Week 45|(Unknown)|(Unknown)|N/A|0.18u|"
          "(Currently Disabled)"),
    Check("PrefixWithoutDigits", {"AXDA", kStep, kLot}, kWaiting, {kNotFound}, kAllBlank),
    Check("LargestModelNumber", {"A32767AMS3C", kStep, kLot}, "AMD Athlon", {},
          "Thunderbird|4|N/A|32767MHz|CPGA|1.75v|95°C|128KB|256KB|246.4x|266MHz|KQXEB|"
          "Year 2003|Week 45|W|N/A|N/A|0.18u|(Currently Disabled)"),
    Check("ModelNumberFarTooLarge", {"A99999AMS3C", kStep, kLot}, kWaiting, {kCodeOneError},
          kAllBlank),
    Check("UnlistedVoltageAndTemperatureLetters", {"AXDA2500DZZ4D", kStep, kLot}, "AMD Athlon XP",
          {},
          "Barton|A|2500+|1833MHz|OPGA|0.00v|0°C|128KB|512KB|11.0x|333MHz|KQXEB|Year 2003|"
          "Week 45|M|1234|N/A|0.13u|(Currently Disabled)"),
};
INSTANTIATE_TEST_SUITE_P(CodeOne, CheckRun, testing::ValuesIn(kCodeOne), RowName);

// Cores of the K7 generation and their clocks.
const Case kK7Cores[] = {
    Check("BartonOn400", {"AXDA3000DKV4E", kStep, kLot}, "AMD Athlon XP", {},
          "Barton|A|3000+|2100MHz|OPGA|1.65v|85°C|128KB|512KB|10.5x|400MHz|KQXEB|Year 2003|"
          "Week 45|M|1234|N/A|0.13u|(Currently Disabled)"),
    Check("BartonOn266", {"AXDA2400DKV4C", kStep, kLot}, "AMD Athlon XP", {},
          "Barton|A|2400+|1800MHz|OPGA|1.65v|85°C|128KB|512KB|13.5x|266MHz|KQXEB|Year 2003|"
          "Week 45|M|1234|N/A|0.13u|(Currently Disabled)"),
    Check("SempronBartonAt3000", {"SDA3000DKV4D", kStep, kLot}, "AMD Sempron", {},
          "Barton|A|3000+|2000MHz|OPGA|1.65v|85°C|128KB|512KB|12.0x|333MHz|KQXEB|Year 2003|"
          "Week 45|M|1234|N/A|0.13u|(Currently Disabled)"),
    Check("ThoroughbredBHighEnd", {"AXDA2400DKV3C", "AIUHB0312MPMW", kLot}, "AMD Athlon XP", {},
          "Thoroughbred B High end|8|2400+|2000MHz|OPGA|1.65v|85°C|128KB|256KB|15.0x|266MHz|"
          "AIUHB|Year 2003|Week 12|M|1234|12|0.13u|(Currently Disabled)"),
    Check("ThoroughbredALowEnd", {"AXDA2600DKV3D", "JIUHA0312MPMW", kLot}, "AMD Athlon XP", {},
          "Thoroughbred A Low end|8|2600+|2083MHz|OPGA|1.65v|85°C|128KB|256KB|12.5x|333MHz|"
          "JIUHA|Year 2003|Week 12|M|1234|12|0.13u|(Currently Disabled)"),
    Check("Thorton", {"AXDC2000DKV3C", kStep, kLot}, "AMD Athlon XP", {},
          "Thorton|A|2000+|1667MHz|OPGA|1.65v|85°C|128KB|256KB|12.5x|266MHz|KQXEB|Year 2003|"
          "Week 45|M|1234|N/A|0.13u|(Currently Disabled)"),
    Check("PalominoRated", {"AX1800DMT3C", kStep, kLot}, "AMD Athlon XP", {},
          "Palomino|6|1800+|1533MHz|OPGA|1.75v|90°C|128KB|256KB|11.5x|266MHz|KQXEB|Year 2003|"
          "Week 45|W|N/A|N/A|0.18u|(Currently Disabled)"),
    Check("PalominoAtUnlistedRating", {"AX2200DMT3C", kStep, kLot}, "AMD Athlon XP", {},
          "Palomino|6|2200+|Unknown Processor|OPGA|1.75v|90°C|128KB|256KB|Unknown Processor|"
          "266MHz|KQXEB|Year 2003|Week 45|W|N/A|N/A|0.18u|(Currently Disabled)"),
    Check("Thunderbird", {"A1200AMS3C", kStep, kLot}, "AMD Athlon", {},
          "Thunderbird|4|N/A|1200MHz|CPGA|1.75v|95°C|128KB|256KB|9.0x|266MHz|KQXEB|Year 2003|"
          "Week 45|W|N/A|N/A|0.18u|(Currently Disabled)"),
    Check("MultiplierHalfwayRoundsUp", {"A1025AMS3B", kStep, kLot}, "AMD Athlon", {},
          "Thunderbird|4|N/A|1025MHz|CPGA|1.75v|95°C|128KB|256KB|10.3x|200MHz|KQXEB|Year 2003|"
          "Week 45|W|N/A|N/A|0.18u|(Currently Disabled)"),
    Check("ThunderbirdWithoutBusLetter", {"A1200AMS3A", kStep, kLot}, "AMD Athlon", {},
          "Thunderbird|4|N/A|1200MHz|CPGA|1.75v|95°C|128KB|256KB|Unknown Processor|"
          "Unknown Processor|KQXEB|Year 2003|Week 45|W|N/A|N/A|0.18u|(Currently Disabled)"),
    Check("Spitfire", {"D800AUT1B", kStep, kLot}, "AMD Duron", {},
          "Spitfire|3|N/A|800MHz|CPGA|1.60v|90°C|128KB|64KB|8.0x|200MHz|KQXEB|Year 2003|"
          "Week 45|W|N/A|N/A|0.18u|(Currently Disabled)"),
    Check("Morgan", {"DHD1300AMT1C", kStep, kLot}, "AMD Duron", {},
          "Morgan|7|N/A|1300MHz|CPGA|1.75v|90°C|128KB|64KB|9.8x|266MHz|KQXEB|Year 2003|Week 45|"
          "W|N/A|N/A|0.18u|(Currently Disabled)"),
    Check("ApplebredOn266", {"DHD1400DLV1C", kStep, kLot}, "AMD Duron", {},
          "Applebred|8|N/A|1400MHz|OPGA|1.50v|85°C|128KB|64KB|10.5x|266MHz|KQXEB|Year 2003|"
          "Week 45|W|1234|45|0.13u|(Currently Disabled)"),
    Check("ApplebredOn200", {"DHD1400DLV1B", kStep, kLot}, "AMD Duron", {},
          "Applebred|8|N/A|1400MHz|OPGA|1.50v|85°C|128KB|64KB|Unknown Processor|200MHz|KQXEB|"
          "Year 2003|Week 45|W|1234|45|0.13u|(Currently Disabled)"),
};
INSTANTIATE_TEST_SUITE_P(K7, CheckRun, testing::ValuesIn(kK7Cores), RowName);

// Cores of the K8 generation, their revisions and clocks.
const Case kK8Cores[] = {
    Check("NewCastle", {"ADA3000DEP4AW", kStep, kLot}, "AMD Athlon 64", {},
          "NewCastle|F (CG)|3000+|2000MHz|939 pin Lidded OµPGA|1.50v|70°C|128KB|512KB|10.0x|"
          "400MHz|KQXEB|Year 2003|Week 45|(Unknown)|(Unknown)|N/A|0.13u|(Currently Disabled)"),
    Check("WinChester", {"ADA3000DIK4BI", kStep, kLot}, "AMD Athlon 64", {},
          "WinChester|F1 (D0)|3000+|1800MHz|939 pin Lidded OµPGA|1.40v|65°C|128KB|512KB|9.0x|"
          "400MHz|KQXEB|Year 2003|Week 45|(Unknown)|(Unknown)|N/A|0.09u|(Currently Disabled)"),
    Check("MobileWithVariableVoltage", {"AMA3000BAA4AX", kStep, kLot}, "AMD Athlon 64 Mobile", {},
          "WinChester|C (CG)|3000+|1800MHz|754 pin Lidless OµPGA|(Variable)|(Variable)|128KB|"
          "512KB|9.0x|400MHz|KQXEB|Year 2003|Week 45|(Unknown)|(Unknown)|N/A|0.09u|"
          "(Currently Disabled)"),
    Check("Paris", {"SDA3100AIP3AX", kStep, kLot}, "AMD Sempron", {},
          "Paris|C (CG)|3100+|1800MHz|754 pin Lidded OµPGA|1.40v|70°C|128KB|256KB|9.0x|400MHz|"
          "KQXEB|Year 2003|Week 45|(Unknown)|(Unknown)|N/A|0.13u|(Currently Disabled)"),
    Check("SledgeHammerFx55OnSlowerBus", {"ADAFX55DEP5AW", kStep, kLot}, "AMD Athlon 64 FX", {},
          "SledgeHammer|F (CG)|FX-55|2600MHz|939 pin Lidded OµPGA|1.50v|70°C|128KB|1024KB|"
          "13.0x|200MHz|KQXEB|Year 2003|Week 45|(Unknown)|(Unknown)|N/A|0.13u|"
          "(Currently Disabled)"),
    Check("Opteron248", {"OSA248CEP5AK", kStep, kLot}, "AMD Opteron", {},
          "SledgeHammer|5 (C0)|248 (2-Way)|2200MHz|940 pin Lidded CµPGA|1.50v|70°C|128KB|"
          "1024KB|11.0x|400MHz|KQXEB|Year 2003|Week 45|(Unknown)|(Unknown)|N/A|0.13u|"
          "(Currently Disabled)"),
    Check("Opteron248WithHalfTheCache", {"OSA248CEP4AK", kStep, kLot}, "AMD Opteron", {},
          "SledgeHammer|5 (C0)|248 (2-Way)|Unknown Processor|940 pin Lidded CµPGA|1.50v|70°C|"
          "128KB|512KB|Unknown Processor|Unknown Processor|KQXEB|Year 2003|Week 45|(Unknown)|"
          "(Unknown)|N/A|0.13u|(Currently Disabled)"),
    Check("ToledoIsDualCore", {"ADA4800DEP6CD", kStep, kLot}, "AMD Athlon 64 X2", {},
          "Toledo|23 (E6)|4800+|2400MHz|939 pin Lidded OµPGA|1.50v|70°C|128KB|2048KB|12.0x|"
          "400MHz|KQXEB|Year 2003|Week 45|(Unknown)|(Unknown)|N/A|0.13u|(Currently Disabled)"),
    Check("ManchesterAtUnlistedRating", {"ADA3800DEP5BV", kStep, kLot}, "AMD Athlon 64 X2", {},
          "Manchester|4 (E4)|3800+|Unknown Processor|939 pin Lidded OµPGA|1.50v|70°C|128KB|"
          "1024KB|Unknown Processor|Unknown Processor|KQXEB|Year 2003|Week 45|W|N/A|N/A|0.13u|"
          "(Currently Disabled)"),
};
INSTANTIATE_TEST_SUITE_P(K8, CheckRun, testing::ValuesIn(kK8Cores), RowName);

// Codes Two and Three: stepping, date and batch.
const Case kCodesTwoAndThree[] = {
    Check("DateCodeWithALetter", {"AXDA2500DKV4D", "KQXEB03A5MPMW", kLot}, "AMD Athlon XP", {},
          "Barton|A|2500+|1833MHz|OPGA|1.65v|85°C|128KB|512KB|11.0x|333MHz|KQXEB|?|?|M|1234|"
          "N/A|0.13u|(Currently Disabled)"),
    Check("NoSteppingFoundLeavesThoroughbredUnrefined", {"AXDA2400DKV3C", "ABCDEFGH0345M", kLot},
          "AMD Athlon XP", {kNoStepping},
          "Thoroughbred|8|2400+|2000MHz|OPGA|1.65v|85°C|128KB|256KB|15.0x|266MHz|(Unknown)|?|?|"
          "(Unknown)|1234|Error: Unable to read correct value|0.13u|(Currently Disabled)"),
};
INSTANTIATE_TEST_SUITE_P(CodesTwoAndThree, CheckRun, testing::ValuesIn(kCodesTwoAndThree), RowName);

// A Check after an earlier one on the same window.
const Case kSecondCheck[] = {
    Check("SameCodesTwice", {"AXDA2500DKV4D", kStep, kLot}, "AMD Athlon XP", {}, kBarton2500,
          {"AXDA2500DKV4D", kStep, kLot}),
    Check("K8RevisionNotCarriedOver", {"ADA3200AEP5AJ", kStep, kLot}, "AMD Athlon 64", {},
          "ClawHammer|5 (?\?)|3200+|2000MHz|754 pin Lidded OµPGA|1.50v|70°C|128KB|1024KB|10.0x|"
          "400MHz|KQXEB|Year 2003|Week 45|(Unknown)|(Unknown)|N/A|0.13u|(Currently Disabled)",
          {"ADA3200AEP5AP", kStep, kLot}),
    Check("SteppingNotCarriedOver", {"AXDA2500DKV4D", "ABCDEFGH0345M", kLot}, "AMD Athlon XP",
          {kNoStepping},
          "Barton|A|2500+|1833MHz|OPGA|1.65v|85°C|128KB|512KB|11.0x|333MHz|(Unknown)|?|?|"
          "(Unknown)|1234|N/A|0.13u|(Currently Disabled)",
          {"AXDA2500DKV4D", kStep, kLot}),
};
INSTANTIATE_TEST_SUITE_P(SecondCheck, CheckRun, testing::ValuesIn(kSecondCheck), RowName);

// Every kind of stop, each after a complete run of an Athlon 64: the frame no
// longer names that chip above what the stopped run left.
Case Stop(const char* name, Codes codes, std::vector<Message> messages,
          const char* texts = kAllBlank) {
    return Check(name, codes, kWaiting, std::move(messages), texts, {"ADA3200AEP5AP", kStep, kLot});
}
const Case kStops[] = {
    Stop("UnknownPrefix", {"AXDX2000", kStep, kLot}, {kNotFound}),
    Stop("UnsupportedFamily", {"AMP1200DMS3C", kStep, kLot}, {Unsupported("AMP")}),
    Stop("ModelNumberTooLarge", {"A32768AMS3C", kStep, kLot}, {kCodeOneError}),
    Stop("CodeOneEndsBeforeCache", {"AXDA2500DKV", kStep, kLot}, {kCodeOneError}),
    Stop("LetterInCachePosition", {"AXDA2500DKVXD", kStep, kLot}, {kCodeOneError}),
    Stop("BartonOn266AtUnlistedRating", {"AXDA2800DKV4C", kStep, kLot},
         {Unsupported("Athlon XP-M 2800")}),
    Stop("BatchNumberMissingFromCodeThree", {"AXDA2500DKV4D", kStep, kStep}, {kBoxTwoError}),
    // The slots read so far stay; the frame does not pass them off as an Athlon 64.
    Stop("CodeTwoEndsInFourDigits", {"AXDA2500DKV4D", "KQXEB03451234", kLot}, {kBoxThreeError},
         "Barton||2500+||OPGA|||||||KQXEB|Year 2003|Week 45||1234|N/A||"),
};
INSTANTIATE_TEST_SUITE_P(StopAfterACompleteRun, CheckRun, testing::ValuesIn(kStops), RowName);

TEST(HangOn, EmptyBoxLeavesEverythingAsItWas) {
    for (int empty = 0; empty < 3; ++empty) {
        for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
            Bench bench;
            bench.Check({"AXDA2500DKV4D", kStep, kLot});
            bench.prompter.Clear();
            // Codes that would decode, and swap, differently if the run went on.
            bench.surface.SetCodes("ADA3200AEP5AP", kLot, kStep);
            bench.surface.SetCodeText(empty, "");
            const auto boxesBefore = std::vector<QString>{
                bench.surface.CodeText(0), bench.surface.CodeText(1), bench.surface.CodeText(2)};
            bench.prompter.Script({answer});
            // No run starts, so nothing of the last one is taken back, its
            // family on the frame included.
            EXPECT_FALSE(bench.engine.Check());

            SCOPED_TRACE(testing::Message()
                         << "empty box " << empty << ", answer " << static_cast<int>(answer));
            EXPECT_EQ(Describe(bench.prompter.Messages()), Describe({kHangOn}));
            EXPECT_EQ(Shown(bench.surface), Split(kBarton2500));
            EXPECT_EQ(bench.surface.ResultsCaption(), QStringLiteral("AMD Athlon XP"));
            EXPECT_EQ(bench.engine.State().CodeOne, QStringLiteral("AXDA2500DKV4D"));
            EXPECT_EQ(bench.engine.State().CoreName, QStringLiteral("Barton"));
            for (int box = 0; box < 3; ++box) {
                EXPECT_EQ(bench.surface.CodeText(box), boxesBefore[std::size_t(box)]);
            }
            const QList<QString> faq{QString::fromLatin1(kFaqUrl)};
            EXPECT_EQ(bench.opener.Urls(), answer == MessageAnswer::Yes ? faq : QList<QString>{});
        }
    }
}

TEST(FixCode2and3, ExchangesOnlyWhenCodeTwoAloneHasADigitUpFront) {
    struct Row {
        const char* two;
        const char* three;
        bool exchanged;
    };
    const Row rows[] = {
        {"Y3123456", "KQXEB0312MPMW", true},
        {"KQXEB0312MPMW", "Y3123456", false},
        {"AB1C", "9XYZ", false},        // both have a digit up front
        {"KQXEB0312", "ABCDE", false},  // neither has
        {"ABCD5", "WXYZ", false},       // a digit at position 5 does not count
        {"7", "XY", true},              // short codes: positions beyond the end hold none
    };
    for (const Row& row : rows) {
        Bench bench;
        bench.surface.SetCodes("AXDA2500DKV4D", row.two, row.three);
        bench.engine.FixCode2and3();
        EXPECT_EQ(bench.surface.CodeText(1), QString::fromUtf8(row.exchanged ? row.three : row.two))
            << row.two << " / " << row.three;
        EXPECT_EQ(bench.surface.CodeText(2), QString::fromUtf8(row.exchanged ? row.two : row.three))
            << row.two << " / " << row.three;
        EXPECT_EQ(bench.surface.CodeText(0), QStringLiteral("AXDA2500DKV4D"));
        EXPECT_TRUE(bench.prompter.Messages().isEmpty());
    }
}

TEST(LongCodeOne, NeitherCrashesNorMisreads) {
    struct Row {
        std::string one;
        const char* texts;  // nullptr: either a complete run or the malformed-code stop
        std::vector<Message> messages;
    };
    const Row rows[] = {
        // Thousands of leading zeros still give rating 2500.
        {"AXDA" + std::string(3000, '0') + "2500DKV4D", kBarton2500, {}},
        {"AXDA2500DKV4D" + std::string(40000, 'X'), kBarton2500, {}},
        // The revision is read from the very end, however far away.
        {"ADA3200AEP5" + std::string(40000, 'Z') + "AP", kClawHammer3200, {}},
        {"A" + std::string(5000, '9') + "AMS3C", kAllBlank, {kCodeOneError}},
        // More model digits than a position can count.
        {"AXDA" + std::string(40000, '0') + "2500DKV4D", nullptr, {}},
    };
    for (const Row& row : rows) {
        Bench bench;
        bench.Check({row.one.c_str(), kStep, kLot});
        SCOPED_TRACE(testing::Message() << "Code One of " << row.one.size() << " characters");
        if (row.texts == nullptr) {
            if (bench.engine.LastRunCompleted()) {
                EXPECT_EQ(Shown(bench.surface), Split(kBarton2500));
            } else {
                EXPECT_EQ(Shown(bench.surface), Split(kAllBlank));
                EXPECT_EQ(Describe(bench.prompter.Messages()), Describe({kCodeOneError}));
            }
            continue;
        }
        EXPECT_EQ(Shown(bench.surface), Split(row.texts));
        EXPECT_EQ(Describe(bench.prompter.Messages()),
                  Describe(QList<Message>(row.messages.begin(), row.messages.end())));
    }
}

}  // namespace
