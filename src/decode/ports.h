#pragma once

#include <QString>

namespace varnel {

// The number of result slots on the sheet and of code boxes above them.
inline constexpr int kResultSlotCount = 19;
inline constexpr int kCodeBoxCount = 3;

enum class MessageIcon { None, Information, Exclamation, Critical };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// One modal message as the user sees it. Line breaks inside the text are CR LF.
struct Message {
    QString text;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    QString title;

    friend bool operator==(const Message&, const Message&) = default;
};

// What the decoding reads and writes: the three code boxes, the nineteen
// result slots and the caption of the results frame.
class Surface {
  public:
    virtual ~Surface() = default;
    virtual QString CodeText(int box) const = 0;
    virtual void SetCodeText(int box, const QString& text) = 0;
    virtual QString ResultText(int slot) const = 0;
    // Takes the text over: a text built for the slot is moved in, not copied.
    virtual void SetResultText(int slot, QString text) = 0;
    // Whether a slot is blank, without copying its text out.
    virtual bool ResultIsEmpty(int slot) const { return ResultText(slot).isEmpty(); }
    virtual QString ResultsCaption() const = 0;
    virtual void SetResultsCaption(const QString& caption) = 0;
};

// A modal message box; returns the button the user pressed.
class Prompter {
  public:
    virtual ~Prompter() = default;
    virtual MessageAnswer Show(const Message& message) = 0;
};

// Hands a web page or mail link to the desktop. Fire and forget.
class UrlOpener {
  public:
    virtual ~UrlOpener() = default;
    virtual void Open(const QString& url) = 0;
};

}  // namespace varnel
