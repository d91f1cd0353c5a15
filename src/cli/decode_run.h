#pragma once

#include <QString>

#include "decode/engine.h"
#include "decode/ports.h"
#include "decode/sheet.h"

namespace varnel::cli {

// Empty when every code fits its box; otherwise a sentence naming the first
// code that does not. A code that long is no marking, and cutting it would
// decode something the user never typed.
QString OverlongCodeReason(const Codes& codes);

// The first box whose code is longer than a box holds, or -1.
int OverlongBox(const Codes& codes);

// Decodes markings one after another, each exactly as a freshly started
// program would after one press of "Check": no value of an earlier marking
// can leak into the next. Nobody is there to answer a question, so every
// question is answered No; the messages stay on the sheet.
class MarkingDecoder {
  public:
    MarkingDecoder();

    // Decodes normalised codes. The sheet lives until the next call.
    const Sheet& Decode(const Codes& codes);

    // The untouched window of a program that has just started, holding the
    // codes of a marking refused before decoding, and why it was refused
    // (code: the box it is about, 1 to 3, or 0 for none).
    const Sheet& Refuse(const Codes& codes, StopReason reason, int code);

  private:
    class Unanswered : public Prompter {
      public:
        MessageAnswer Show(const Message& message) override;
    };
    class NoBrowser : public UrlOpener {
      public:
        void Open(const QString&) override {}
    };

    Unanswered prompter_;
    NoBrowser opener_;
    DecodeEngine engine_;
    Sheet refused_;
};

}  // namespace varnel::cli
