#pragma once

#include <array>
#include <string_view>

#include <QString>

#include "decode/fields.h"
#include "decode/sheet.h"

namespace varnel {

// The keys of the sheet's numbers, by Quantity; each names its unit.
inline constexpr std::array<std::string_view, kQuantityCount> kNumberKeys{
    "clock_mhz", "multiplier", "fsb_mhz", "l1_kb", "l2_kb",
    "voltage_v", "max_temp_c", "year",    "week",  "process_um",
};

// Number keys a script can rely on: none empty, none twice.
template <std::size_t N>
consteval bool KeysDistinct(const std::array<std::string_view, N>& keys) {
    for (std::size_t i = 0; i < N; ++i) {
        if (keys[i].empty()) {
            return false;
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (keys[i] == keys[j]) {
                return false;
            }
        }
    }
    return true;
}
static_assert(KeysDistinct(kNumberKeys));

// The captions of the three code boxes.
inline constexpr std::array<std::u16string_view, kCodeBoxCount> kCodeCaptions{
    u"Code One:",
    u"Code Two:",
    u"Code Three:",
};

// The results frame before the first complete run.
inline constexpr std::u16string_view kWaitingCaption = u"[ Waiting ]";

// A static text shared, not copied.
inline QString SharedText(std::u16string_view text) {
    return QString::fromRawData(reinterpret_cast<const QChar*>(text.data()),
                                static_cast<qsizetype>(text.size()));
}

inline QString WaitingCaption() {
    return SharedText(kWaitingCaption);
}

// The most characters a code box holds.
inline constexpr int kCodeMaxLength = 13;

}  // namespace varnel
