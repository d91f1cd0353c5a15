#pragma once

#include <QList>
#include <QString>
#include <array>
#include <utility>

#include "captions.h"
#include "ports.h"

namespace varnel {

// The window's texts held in memory: what the headless decoder and the tests
// decode over.
class MemorySurface : public Surface {
  public:
    QString CodeText(int box) const override { return codes_.at(static_cast<std::size_t>(box)); }
    void SetCodeText(int box, const QString& text) override {
        codes_.at(static_cast<std::size_t>(box)) = text;
    }
    QString ResultText(int slot) const override {
        return results_.at(static_cast<std::size_t>(slot));
    }
    void SetResultText(int slot, QString text) override {
        results_.at(static_cast<std::size_t>(slot)) = std::move(text);
    }
    bool ResultIsEmpty(int slot) const override {
        return results_.at(static_cast<std::size_t>(slot)).isEmpty();
    }
    QString ResultsCaption() const override { return caption_; }
    void SetResultsCaption(const QString& caption) override { caption_ = caption; }

    void SetCodes(const QString& one, const QString& two, const QString& three) {
        codes_ = {one, two, three};
    }
    // Handing the texts on after a run moves them rather than copying them.
    std::array<QString, kCodeBoxCount> TakeCodes() { return std::move(codes_); }
    std::array<QString, kResultSlotCount> TakeResults() { return std::move(results_); }
    QString TakeCaption() { return std::move(caption_); }
    const std::array<QString, kResultSlotCount>& Results() const { return results_; }

  private:
    std::array<QString, kCodeBoxCount> codes_;
    std::array<QString, kResultSlotCount> results_;
    // The caption text is static: share it rather than copy it per sheet.
    QString caption_ = QString::fromRawData(reinterpret_cast<const QChar*>(kWaitingCaption.data()),
                                            static_cast<qsizetype>(kWaitingCaption.size()));
};

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
