#include "short_text.h"

#include <QtGlobal>
#include <algorithm>

namespace varnel {

namespace {

void CheckRoom(qsizetype used, qsizetype more) {
    if (more > ShortText::kCapacity - used) {
        qFatal("varnel: a decoded value of %lld characters does not fit its field",
               static_cast<long long>(used + more));
    }
}

}  // namespace

ShortText::ShortText(std::initializer_list<QStringView> pieces) {
    for (QStringView piece : pieces) {
        Append(piece);
    }
}

void ShortText::Append(QStringView text) {
    CheckRoom(size_, text.size());
    std::copy(text.utf16(), text.utf16() + text.size(), units_.begin() + size_);
    size_ = static_cast<std::uint8_t>(size_ + text.size());
}

void ShortText::AppendLatin1(std::string_view text) {
    const auto more = static_cast<qsizetype>(text.size());
    CheckRoom(size_, more);
    std::copy(text.begin(), text.end(), units_.begin() + size_);
    size_ = static_cast<std::uint8_t>(size_ + more);
}

}  // namespace varnel
