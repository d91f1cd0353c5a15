#include "decode/short_text.h"

#include <QtGlobal>
#include <algorithm>

namespace varnel {

ShortText::ShortText(std::initializer_list<QStringView> pieces) {
    for (QStringView piece : pieces) {
        Append(piece);
    }
}

void ShortText::Overflow(qsizetype more) const {
    qFatal("varnel: a decoded value of %lld characters does not fit its field",
           static_cast<long long>(size_ + more));
}

}  // namespace varnel
