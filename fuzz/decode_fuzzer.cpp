// Feeds arbitrary codes through the Check command and checks that every run
// ends in one of the two ways a user can see: a full sheet of results, or a
// stop that was announced in a message. Running the same codes again must give
// the same sheet and the same messages.
//
// Input layout: the three codes, as fuzz::SplitTexts reads texts.

#include <QCoreApplication>
#include <QString>
#include <algorithm>
#include <cstdint>

#include "decode/captions.h"
#include "decode/engine.h"
#include "decode/program.h"
#include "decode/tables.h"
#include "support/fakes.h"
#include "support/fuzz_texts.h"

namespace {

using namespace varnel;
using fuzz::Expect;

bool IsFamilyName(const QString& caption) {
    return caption == u"AMD Athlon 64 X2" ||
           std::ranges::any_of(tables::kFamilyTable, [&caption](const tables::FamilyRow& row) {
               return row.generation != 0 &&
                      caption ==
                          QStringView(row.name.data(), static_cast<qsizetype>(row.name.size()));
           });
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    SetApplicationIdentity();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QList<QString> codes = fuzz::SplitTexts(data, size);
    ScriptedPrompter prompter;
    RecordingUrlOpener opener;
    DecodeEngine engine(prompter, opener);
    const Codes typed{codes.value(0), codes.value(1), codes.value(2)};

    engine.Check(typed);
    const Sheet first = engine.Results();
    if (first.completed) {
        Expect(std::ranges::none_of(first.values, &ShortText::isEmpty),
               "a completed run left a value empty");
        Expect(first[Field::EstimatedThermalPower] == QStringView(u"(Currently Disabled)"),
               "a completed run did not disable the thermal power value");
        Expect(IsFamilyName(first.caption),
               "a completed run put something other than a family name on the results frame");
    }
    Expect(first.completed || !first.messages.isEmpty(), "a run stopped without telling the user");
    Expect(first.completed == engine.LastRunCompleted() && first.messages == prompter.Messages(),
           "the sheet and what the user was shown disagree");

    engine.Check(typed);
    const Sheet& second = engine.Results();
    Expect(second.values == first.values && second.messages == first.messages &&
               second.caption == first.caption && second.completed == first.completed &&
               second.codes == first.codes,
           "the same codes checked twice gave different results");
    return 0;
}
