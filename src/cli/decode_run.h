#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <array>

#include "html_table.h"
#include "ports.h"

namespace varnel::cli {

// The three code boxes of one marking: Code One, Code Two, Code Three.
using Codes = std::array<QString, kCodeBoxCount>;

// Empty when every code fits its box; otherwise a sentence naming the first
// code that does not. A code that long is no marking, and cutting it would
// decode something the user never typed.
QString OverlongCodeReason(const Codes& codes);

// The window after one press of "Check" in a freshly started program.
struct Outcome {
    Codes codes;  // the boxes after the run (Codes Two and Three may have traded places)
    QString caption;
    bool completed = false;
    std::array<QString, kResultSlotCount> values;
    QList<Message> messages;
    // Set when the marking was refused before decoding: why. The rest then
    // shows the untouched window of a program that has just started.
    QString refusal;
};

// Decodes normalised codes over a fresh sheet, prompter and engine, so no
// value of an earlier marking can leak into this one. Questions are answered
// No, as nobody is there to visit the FAQ.
Outcome DecodeMarking(const Codes& codes);

// The untouched window, holding the given codes and the reason for refusing them.
Outcome RefusedMarking(const Codes& codes, const QString& reason);

// The window as the HTML export reads it.
report::WindowSnapshot SnapshotOf(const Outcome& outcome);

}  // namespace varnel::cli
