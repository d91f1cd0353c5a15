#pragma once

#include <QList>
#include <QString>
#include <utility>

#include "decode/ports.h"

namespace varnel {

// Test fakes of the engine's ports: nothing is shown and nothing is opened.

// Records every message in order and answers from a script; once the script
// runs out it answers the safe way: OK, or No to a question.
class ScriptedPrompter : public Prompter {
  public:
    MessageAnswer Show(const Message& message) override {
        messages_.append(message);
        if (!script_.isEmpty()) {
            return script_.takeFirst();
        }
        return message.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }

    void Script(QList<MessageAnswer> answers) { script_ = std::move(answers); }
    const QList<Message>& Messages() const { return messages_; }
    QList<Message> TakeMessages() { return std::move(messages_); }
    void Clear() { messages_.clear(); }

  private:
    QList<Message> messages_;
    QList<MessageAnswer> script_;
};

// Records the links it is asked to open instead of launching anything.
class RecordingUrlOpener : public UrlOpener {
  public:
    void Open(const QString& url) override { urls_.append(url); }
    const QList<QString>& Urls() const { return urls_; }

  private:
    QList<QString> urls_;
};

}  // namespace varnel
