#include "decode_run.h"

#include "captions.h"
#include "engine.h"
#include "memory_ports.h"
#include "text.h"

namespace varnel::cli {

namespace {

QString FromView(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

const QString& WaitingCaption() {
    static const QString caption = FromView(kWaitingCaption);
    return caption;
}

}  // namespace

QString OverlongCodeReason(const Codes& codes) {
    for (std::size_t box = 0; box < codes.size(); ++box) {
        const qsizetype length = codes[box].size();
        if (length > kCodeMaxLength) {
            QString name = FromView(kCodeCaptions[box]);
            name.chop(1);  // the caption's colon
            return QStringLiteral(
                       "%1 has %2 characters after removing spaces and other invisible "
                       "characters; its box holds at most %3")
                .arg(name)
                .arg(length)
                .arg(kCodeMaxLength);
        }
    }
    return {};
}

Outcome DecodeMarking(const Codes& codes) {
    MemorySurface surface;
    ScriptedPrompter prompter;
    RecordingUrlOpener opener;
    DecodeEngine engine(surface, prompter, opener);
    surface.SetCodes(codes[0], codes[1], codes[2]);
    engine.Check();

    Outcome outcome;
    outcome.codes = surface.TakeCodes();
    outcome.caption = surface.TakeCaption();
    outcome.completed = engine.LastRunCompleted();
    outcome.values = surface.TakeResults();
    outcome.messages = prompter.TakeMessages();
    return outcome;
}

Outcome RefusedMarking(const Codes& codes, const QString& reason) {
    Outcome outcome;
    outcome.codes = codes;
    outcome.caption = WaitingCaption();
    outcome.refusal = reason;
    return outcome;
}

report::WindowSnapshot SnapshotOf(const Outcome& outcome) {
    report::WindowSnapshot window;
    window.resultsCaption = outcome.caption;
    for (std::size_t slot = 0; slot < kResultCaptions.size(); ++slot) {
        window.slotCaptions[slot] = FromView(kResultCaptions[slot]);
        window.slotValues[slot] = outcome.values[slot];
    }
    for (std::size_t box = 0; box < kCodeCaptions.size(); ++box) {
        window.codeCaptions[box] = FromView(kCodeCaptions[box]);
        window.codeTexts[box] = outcome.codes[box];
    }
    return window;
}

}  // namespace varnel::cli
