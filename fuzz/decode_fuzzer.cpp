// Feeds arbitrary codes through the Check command and checks that every run
// ends in one of the two ways a user can see: a full sheet of results, or a
// stop that was announced in a message. Running the same codes again must give
// the same sheet and the same messages.
//
// Input layout: the first byte chooses how the rest is read (bit 0 set: raw
// UTF-16, which reaches lone surrogates; otherwise UTF-8, with replacement
// characters for invalid sequences). The codes are separated by 0xFF bytes in
// UTF-8 mode (never part of valid UTF-8) and by the unit 0xFFFF in UTF-16 mode.

#include <QCoreApplication>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "decode/captions.h"
#include "decode/engine.h"
#include "decode/program.h"
#include "decode/tables.h"
#include "support/fakes.h"

namespace {

using namespace varnel;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "decode fuzzer: %s\n", what);
    std::abort();
}

void SplitCodes(const std::uint8_t* data, std::size_t size, QString codes[3]) {
    if (size == 0) {
        return;
    }
    const bool utf16 = (data[0] & 1) != 0;
    ++data;
    --size;
    if (utf16) {
        QString all(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
        for (std::size_t i = 0; i < size / 2; ++i) {
            all[static_cast<qsizetype>(i)] =
                QChar(static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8)));
        }
        const QList<QString> parts = all.split(QChar(0xFFFF));
        for (int i = 0; i < 3 && i < parts.size(); ++i) {
            codes[i] = parts[i];
        }
        return;
    }
    int code = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= size && code < 3; ++i) {
        if (i == size || data[i] == 0xFF) {
            codes[code++] = QString::fromUtf8(reinterpret_cast<const char*>(data + start),
                                              static_cast<qsizetype>(i - start));
            start = i + 1;
        }
    }
}

bool IsFamilyName(const QString& caption) {
    if (caption == u"AMD Athlon 64 X2") {
        return true;
    }
    for (const tables::FamilyRow& row : tables::kFamilyTable) {
        if (row.generation != 0 &&
            caption == QStringView(row.name.data(), static_cast<qsizetype>(row.name.size()))) {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    SetApplicationIdentity();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QString codes[3];
    SplitCodes(data, size, codes);

    ScriptedPrompter prompter;
    RecordingUrlOpener opener;
    DecodeEngine engine(prompter, opener);
    const Codes typed{codes[0], codes[1], codes[2]};

    engine.Check(typed);
    const Sheet first = engine.Results();
    if (first.completed) {
        for (const ShortText& value : first.values) {
            if (value.isEmpty()) {
                Fail("a completed run left a value empty");
            }
        }
        if (first[Field::EstimatedThermalPower] != QStringView(u"(Currently Disabled)")) {
            Fail("a completed run did not disable the thermal power value");
        }
        if (!IsFamilyName(first.caption)) {
            Fail("a completed run put something other than a family name on the results frame");
        }
    } else if (first.messages.isEmpty()) {
        Fail("a run stopped without telling the user");
    }
    if (first.completed != engine.LastRunCompleted() || first.messages != prompter.Messages()) {
        Fail("the sheet and what the user was shown disagree");
    }

    engine.Check(typed);
    const Sheet& second = engine.Results();
    if (second.values != first.values || second.messages != first.messages ||
        second.caption != first.caption || second.completed != first.completed ||
        second.codes != first.codes) {
        Fail("the same codes checked twice gave different results");
    }
    return 0;
}
