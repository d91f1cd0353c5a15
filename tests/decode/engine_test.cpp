// Runs of the Check command over whole markings, compared field by field
// with what the decoding must show. The runs live in tests/data/markings.tsv,
// where every expected text was worked out by hand from the marking, never
// copied from a run of the program.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "decode/engine.h"
#include "decode/program.h"
#include "support/fakes.h"
#include "support/markings.h"

using namespace varnel;
using testdata::Marking;

namespace {

std::vector<std::string> Describe(const QList<Message>& messages) {
    std::vector<std::string> out;
    for (const Message& m : messages) {
        out.push_back(m.text.toStdString() + " | icon " + std::to_string(static_cast<int>(m.icon)) +
                      " | buttons " + std::to_string(static_cast<int>(m.buttons)) + " | " +
                      m.title.toStdString());
    }
    return out;
}

// The nineteen values of a sheet, or of a row of the file, as readable texts.
template <typename Text>
std::vector<std::string> Values(const std::array<Text, kFieldCount>& values) {
    std::vector<std::string> out;
    for (const Text& value : values) {
        out.push_back(QStringView(value).toString().toStdString());
    }
    return out;
}

Codes MakeCodes(const char* one, const char* two, const char* three) {
    return {QString::fromUtf8(one), QString::fromUtf8(two), QString::fromUtf8(three)};
}

struct Bench {
    ScriptedPrompter prompter;
    RecordingUrlOpener opener;
    DecodeEngine engine{prompter, opener};
};

std::string RowName(const testing::TestParamInfo<Marking>& info) {
    return info.param.name.toStdString();
}

// The rows of runs that stop in a freshly started program.
std::vector<Marking> Stops() {
    std::vector<Marking> stops;
    for (const Marking& row : testdata::Markings()) {
        if (!row.Completed() && row.before[0].isEmpty()) {
            stops.push_back(row);
        }
    }
    return stops;
}

class Run : public testing::TestWithParam<Marking> {};

TEST_P(Run, Decodes) {
    const Marking& row = GetParam();
    Bench bench;
    if (!row.before[0].isEmpty()) {
        bench.engine.Check(row.before);
        bench.prompter.Clear();
    }
    ASSERT_TRUE(bench.engine.Check(row.codes));

    const Sheet& sheet = bench.engine.Results();
    EXPECT_EQ(Values(sheet.values), Values(row.values));
    EXPECT_EQ(sheet.caption, row.caption);
    EXPECT_EQ(Describe(sheet.messages), Describe(row.messages));
    EXPECT_EQ(Describe(bench.prompter.Messages()), Describe(row.messages));
    EXPECT_EQ(sheet.completed, row.Completed());
    EXPECT_EQ(bench.engine.LastRunCompleted(), row.Completed());
}

INSTANTIATE_TEST_SUITE_P(M, Run, testing::ValuesIn(testdata::Markings()), RowName);

// A stop after a complete run reads as it does in a fresh program: the frame
// no longer names the earlier chip above what the stopped run left.
class StopAfterRun : public testing::TestWithParam<Marking> {};

TEST_P(StopAfterRun, ReadsAsFresh) {
    const Marking& row = GetParam();
    Bench bench;
    bench.engine.Check(testdata::MarkingNamed("Athlon64ClawHammer").codes);
    bench.prompter.Clear();
    bench.engine.Check(row.codes);
    EXPECT_EQ(Values(bench.engine.Results().values), Values(row.values));
    EXPECT_EQ(bench.engine.Results().caption, row.caption);
    EXPECT_EQ(Describe(bench.prompter.Messages()), Describe(row.messages));
}

INSTANTIATE_TEST_SUITE_P(M, StopAfterRun, testing::ValuesIn(Stops()), RowName);

TEST(HangOn, EmptyBoxStartsNoRun) {
    const Marking& barton = testdata::MarkingNamed("BartonOn333");
    for (int empty = 0; empty < 3; ++empty) {
        for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
            Bench bench;
            bench.engine.Check(barton.codes);
            bench.prompter.Clear();
            // Codes that would decode, and swap, differently if a run started.
            Codes codes = MakeCodes("ADA3200AEP5AP", "Y3121234", "KQXEB0345MPMW");
            codes[static_cast<std::size_t>(empty)].clear();
            bench.prompter.Script({answer});

            SCOPED_TRACE(testing::Message()
                         << "empty box " << empty << ", answer " << static_cast<int>(answer));
            EXPECT_FALSE(bench.engine.Check(codes));
            const Sheet& sheet = bench.engine.Results();
            EXPECT_EQ(Describe(sheet.messages), Describe({testdata::MessageFor("hang-on")}));
            EXPECT_EQ(sheet.codes, codes);
            EXPECT_EQ(sheet.caption, QStringLiteral("[ Waiting ]"));
            EXPECT_TRUE(AllValuesBlank(sheet));
            EXPECT_FALSE(sheet.completed);
            // The state of the last run stays as it was.
            EXPECT_EQ(bench.engine.State().CoreName, QStringLiteral("Barton"));
            const QList<QString> faq{QString::fromLatin1(kFaqUrl)};
            EXPECT_EQ(bench.opener.Urls(), answer == MessageAnswer::Yes ? faq : QList<QString>{});
        }
    }
}

TEST(FixCode2and3, SwapsWhenOnlyCodeTwoLeadsWithDigit) {
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
        {"ABC4XYZ", "KQXEB", true},     // a digit at position 4 counts
        {"ABCD5", "WXYZ", false},       // a digit at position 5 does not
        {"7", "XY", true},              // short codes: positions beyond the end hold none
    };
    for (const Row& row : rows) {
        Codes codes = MakeCodes("AXDA2500DKV4D", row.two, row.three);
        DecodeEngine::FixCode2and3(codes);
        const Codes expected = row.exchanged ? MakeCodes("AXDA2500DKV4D", row.three, row.two)
                                             : MakeCodes("AXDA2500DKV4D", row.two, row.three);
        EXPECT_EQ(codes, expected) << row.two << " / " << row.three;
    }
}

TEST(LongCodeOne, NeitherCrashesNorMisreads) {
    const Marking& barton = testdata::MarkingNamed("BartonOn333");
    const Marking& clawHammer = testdata::MarkingNamed("Athlon64ClawHammer");
    const Marking& tooLarge = testdata::MarkingNamed("ModelNumberTooLarge");
    struct Row {
        std::string one;
        const Marking* expected;  // nullptr: either the Barton or the malformed-code stop
    };
    const Row rows[] = {
        // Thousands of leading zeros still give rating 2500.
        {"AXDA" + std::string(3000, '0') + "2500DKV4D", &barton},
        {"AXDA2500DKV4D" + std::string(40000, 'X'), &barton},
        // The revision is read from the very end, however far away.
        {"ADA3200AEP5" + std::string(40000, 'Z') + "AP", &clawHammer},
        {"A" + std::string(5000, '9') + "AMS3C", &tooLarge},
        // More model digits than a position can count.
        {"AXDA" + std::string(40000, '0') + "2500DKV4D", nullptr},
    };
    for (const Row& row : rows) {
        Bench bench;
        bench.engine.Check(MakeCodes(row.one.c_str(), "KQXEB0345MPMW", "Y3121234"));
        SCOPED_TRACE(testing::Message() << "Code One of " << row.one.size() << " characters");
        const Marking& expected = row.expected != nullptr
                                      ? *row.expected
                                      : (bench.engine.LastRunCompleted() ? barton : tooLarge);
        EXPECT_EQ(Values(bench.engine.Results().values), Values(expected.values));
        EXPECT_EQ(Describe(bench.engine.Results().messages), Describe(expected.messages));
    }
}

}  // namespace
