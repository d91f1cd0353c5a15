#include "cli/decode_run.h"

#include "decode/captions.h"

namespace varnel::cli {

namespace {

QString FromView(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
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

MessageAnswer MarkingDecoder::Unanswered::Show(const Message& message) {
    return message.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
}

MarkingDecoder::MarkingDecoder() : engine_(prompter_, opener_) {}

const Sheet& MarkingDecoder::Decode(const Codes& codes) {
    engine_.Restart();
    engine_.Check(codes);
    return engine_.Results();
}

const Sheet& MarkingDecoder::Refuse(const Codes& codes) {
    refused_ = WaitingSheet();
    refused_.codes = codes;
    return refused_;
}

}  // namespace varnel::cli
