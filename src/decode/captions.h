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

// The keys of the result fields in the decoder's JSON, by slot: stable
// names for scripts, which the captions are not.
inline constexpr std::array<std::string_view, kFieldCount> kFieldKeys{
    "core",
    "cpu_model",
    "performance_model",
    "working_frequency",
    "package_type",
    "operating_voltage",
    "max_operating_temperature",
    "l1_cache",
    "l2_cache",
    "multiplier",
    "fsb_frequency",
    "stepping_code",
    "manufacture_year",
    "manufacture_week",
    "production_batch",
    "batch_production_number",
    "laser_marker_id",
    "process_technology",
    "estimated_thermal_power",
};

// The keys of the sheet's numbers, by Quantity; each names its unit.
inline constexpr std::array<std::string_view, kQuantityCount> kNumberKeys{
    "clock_mhz", "multiplier", "fsb_mhz", "l1_kb", "l2_kb",
    "voltage_v", "max_temp_c", "year",    "week",  "process_um",
};

// Keys a script can rely on: none empty, none twice.
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
static_assert(KeysDistinct(kFieldKeys) && KeysDistinct(kNumberKeys));

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
