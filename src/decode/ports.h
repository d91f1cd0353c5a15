#pragma once

#include <QString>

namespace varnel {

// The code boxes a marking is typed into: Code One, Code Two, Code Three.
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
