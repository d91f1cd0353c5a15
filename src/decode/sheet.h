#pragma once

#include <QList>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "decode/ports.h"
#include "decode/short_text.h"
#include "decode/tables.h"

namespace varnel {

// The nineteen facts a run decodes, in the order of the result rows.
enum class Field : std::uint8_t {
    Core,
    CpuModel,
    PerformanceModel,
    WorkingFrequency,
    PackageType,
    OperatingVoltage,
    MaxOperatingTemperature,
    L1Cache,
    L2Cache,
    Multiplier,
    FsbFrequency,
    SteppingCode,
    ManufactureYear,
    ManufactureWeek,
    ProductionBatch,
    BatchProductionNumber,
    LaserMarkerId,
    ProcessTechnology,
    EstimatedThermalPower,
};

inline constexpr int kFieldCount = 19;
static_assert(static_cast<int>(Field::EstimatedThermalPower) + 1 == kFieldCount);

constexpr std::size_t Index(Field field) {
    return static_cast<std::size_t>(field);
}

// The quantities a run reads as numbers from the values it shows.
enum class Quantity : std::uint8_t {
    ClockMhz,
    Multiplier,
    FsbMhz,
    L1Kb,
    L2Kb,
    VoltageV,
    MaxTempC,
    Year,
    Week,
    ProcessUm,
};

inline constexpr int kQuantityCount = 10;
static_assert(static_cast<int>(Quantity::ProcessUm) + 1 == kQuantityCount);

constexpr std::size_t Index(Quantity quantity) {
    return static_cast<std::size_t>(quantity);
}

// The three lines of a marking: Code One, Code Two, Code Three.
using Codes = std::array<QString, kCodeBoxCount>;

// A number as a sheet shows it: its digits, and how many of them stand
// behind the decimal point (165 and 2 for "1.65v").
struct ShownNumber {
    std::int32_t digits = 0;
    std::int8_t decimals = 0;
};

// The numbers of a sheet, by Quantity: each as the sheet shows it, or none.
// A run keeps them as digits, which costs it no floating-point work: a batch
// writes most of its sheets without ever reading a number.
class SheetNumbers {
  public:
    // The number (1.65 for the digits 165 with two behind the point): the
    // double nearest to it, as a division of two exact doubles gives.
    std::optional<double> operator[](Quantity quantity) const {
        constexpr std::array<double, 10> kPowersOfTen{1e0, 1e1, 1e2, 1e3, 1e4,
                                                      1e5, 1e6, 1e7, 1e8, 1e9};
        if ((found_ & Bit(quantity)) == 0) {
            return std::nullopt;
        }
        const ShownNumber& number = numbers_[Index(quantity)];
        return number.digits / kPowersOfTen[static_cast<std::size_t>(number.decimals)];
    }
    // The number as the sheet shows it, digits and decimals, or none.
    std::optional<ShownNumber> Shown(Quantity quantity) const {
        if ((found_ & Bit(quantity)) == 0) {
            return std::nullopt;
        }
        return numbers_[Index(quantity)];
    }
    // A number with at most nine decimals, or none.
    void Set(Quantity quantity, std::optional<ShownNumber> number) {
        found_ =
            static_cast<std::uint16_t>(number ? found_ | Bit(quantity) : found_ & ~Bit(quantity));
        numbers_[Index(quantity)] = number.value_or(ShownNumber{});
    }
    void Clear() { found_ = 0; }

  private:
    static constexpr std::uint16_t Bit(Quantity quantity) {
        return static_cast<std::uint16_t>(1u << Index(quantity));
    }
    std::array<ShownNumber, kQuantityCount> numbers_{};
    std::uint16_t found_ = 0;
};
static_assert(kQuantityCount <= 16);

// Why a run ended before its results. The first five are the decoding's own
// stops; the last two are markings that varnel-decode refuses before any
// decoding.
enum class StopReason : std::uint8_t {
    None,
    EmptyCode,            // a code box is empty: no run starts
    UnknownPrefix,        // no family's letters open Code One
    UnsupportedChip,      // a family or rating the rules know but cannot read
    MalformedCodeOne,     // a model number out of range, or no cache digit
    UnreadableValue,      // the batch number or letter is not where it belongs
    OverlongCode,         // a code longer than its box
    UnreadableBatchLine,  // a batch line that holds no marking
};

// The stop's name for scripts, as the decoder's JSON writes it.
inline constexpr std::array<std::string_view, 8> kStopTokens{
    "",
    "empty_code",
    "unknown_prefix",
    "unsupported_chip",
    "malformed_code_one",
    "unreadable_value",
    "overlong_code",
    "unreadable_batch_line",
};
static_assert(static_cast<std::size_t>(StopReason::UnreadableBatchLine) + 1 == kStopTokens.size());

constexpr std::string_view StopToken(StopReason reason) {
    return kStopTokens[static_cast<std::size_t>(reason)];
}

// What the rules found, as facts rather than the texts that show them: what
// the comparison with the catalogue of real parts and the window read, so
// that no one parses a value back.
struct Findings {
    tables::Text family;  // "AMD Athlon 64 X2"; empty until the prefix is known
    // The core as the rules name it, without its refinements: "Thoroughbred",
    // "Thoroughbred/Thorton"; empty when no rule named one.
    tables::Text core;
    tables::Text grade;  // "High end" or "Low end" of a Thoroughbred; empty for none
    // The silicon revision: the AMD64 revision ("E3") or a Thoroughbred's
    // letter ("A"); empty when the marking did not give it.
    tables::Text revision;
    // The result field that shows a revision for this chip; none for a chip
    // whose marking carries none.
    std::optional<Field> revisionField;
    std::int16_t cpuModel = 0;  // 0: not read
    std::int16_t cores = 0;     // 0: not read
    // The row of the package letter; null when the letter is in no table.
    const tables::PackageRow* package = nullptr;
    // A stopped run: why, and which code it is about (1 to 3; 0 for none).
    StopReason stop = StopReason::None;
    std::int8_t stopCode = 0;

    // Whether the rules produced the field's value. "(Unknown)", "Unknown
    // Processor", "(Variable)", a 0.00v or 0°C reading, "?" and "(Currently
    // Disabled)" are values the rules did not read.
    bool Read(Field field) const { return (read_ & Bit(field)) != 0; }
    void SetRead(Field field, bool read) {
        read_ = read ? read_ | Bit(field) : read_ & ~Bit(field);
    }
    void ClearRead() { read_ = 0; }

  private:
    static constexpr std::uint32_t Bit(Field field) { return 1u << Index(field); }
    std::uint32_t read_ = 0;
};
static_assert(kFieldCount <= 32);

// What one run of the decoding produced: everything the window, the HTML
// table, JSON, CSV and text show of it.
struct Sheet {
    // The results frame: the family of a completed run, "[ Waiting ]" before
    // the first one and after any stop.
    QString caption;
    std::array<ShortText, kFieldCount> values;
    // Every message the run showed, in order.
    QList<Message> messages;
    // The codes as the run read them, Codes Two and Three in their places.
    Codes codes;
    bool completed = false;
    // The numbers a completed run shows, each as its value shows it (1.65
    // for "1.65v", 2003 for "Year 2003"); empty where the value shows no
    // number or reads zero ("Unknown Processor", "(Variable)", "?",
    // "0.00v"), and all empty after a stop, whose values belong to no chip.
    SheetNumbers numbers;
    Findings findings;

    const ShortText& operator[](Field field) const { return values[Index(field)]; }
    ShortText& operator[](Field field) { return values[Index(field)]; }
};

// A sheet before any run: the waiting caption, every value blank.
Sheet WaitingSheet();

// Whether every value is blank, as after a stop that cleared the results.
bool AllValuesBlank(const Sheet& sheet);

}  // namespace varnel
