#pragma once

#include <array>
#include <string_view>

#include <QString>

#include "decode/sheet.h"

namespace varnel {

// The captions of the result rows, by slot; the window, the exported table
// and the headless decoder all label the slots with these.
inline constexpr std::array<std::u16string_view, kFieldCount> kResultCaptions{
    u"Core",
    u"CPU Model",
    u"Performance Model",
    u"Working frequency",
    u"Package Type",
    u"Operating Voltage",
    u"Max. Operating Temperature",
    u"L1 Cache",
    u"L2 Cache",
    u"Multiplier",
    u"FSB Frequency",
    u"Stepping Code",
    u"Manufacture Year",
    u"Manufacture Week",
    u"Production Batch",
    u"Batch Production Number",
    u"Laser Marker ID",
    u"Process Technology",
    u"Estimated Thermal Power",
};

// The captions of the three code boxes.
inline constexpr std::array<std::u16string_view, kCodeBoxCount> kCodeCaptions{
    u"Code One:",
    u"Code Two:",
    u"Code Three:",
};

// The results frame before the first complete run.
inline constexpr std::u16string_view kWaitingCaption = u"[ Waiting ]";

// The caption of a field's result row.
constexpr std::u16string_view Caption(Field field) {
    return kResultCaptions[Index(field)];
}

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
