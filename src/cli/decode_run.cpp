#include "cli/decode_run.h"

#include <algorithm>

#include "decode/captions.h"

namespace varnel::cli {

namespace {

QString FromView(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

int OverlongBox(const Codes& codes) {
    const auto overlong = std::ranges::find_if(
        codes, [](const QString& code) { return code.size() > kCodeMaxLength; });
    return overlong == codes.end() ? -1 : static_cast<int>(overlong - codes.begin());
}

QString OverlongCodeReason(const Codes& codes) {
    const int box = OverlongBox(codes);
    if (box < 0) {
        return {};
    }
    QString name = FromView(kCodeCaptions[static_cast<std::size_t>(box)]);
    name.chop(1);  // the caption's colon
    return QStringLiteral(
               "%1 has %2 characters after removing spaces and other invisible "
               "characters; its box holds at most %3")
        .arg(name)
        .arg(codes[static_cast<std::size_t>(box)].size())
        .arg(kCodeMaxLength);
}

MessageAnswer MarkingDecoder::Unanswered::Show(const Message& message) {
    return message.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
}

MarkingDecoder::MarkingDecoder() : engine_(prompter_, opener_) {}

const Sheet& MarkingDecoder::Decode(const Codes& codes) {
    engine_.Restart();
    engine_.Check(codes);
    return engine_.Results();
}

const Sheet& MarkingDecoder::Refuse(const Codes& codes, StopReason reason, int code) {
    refused_ = WaitingSheet();
    refused_.codes = codes;
    refused_.findings.stop = reason;
    refused_.findings.stopCode = static_cast<std::int8_t>(code);
    return refused_;
}

}  // namespace varnel::cli
