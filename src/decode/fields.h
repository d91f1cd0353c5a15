#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "decode/sheet.h"

namespace varnel {

// The fact of a catalogued part that a result field is held against; None
// for a field the catalogue has nothing to say about (the stepping, the
// date) or that the rules never work out (the thermal power).
enum class CatalogueFact : std::uint8_t {
    None,
    Core,      // the core's name; on a Thoroughbred also its revision letter
    CpuModel,  // the CPUID model; on an AMD64 chip also its revision
    Clock,
    Package,  // the socket and the package
    Voltage,
    MaxTemperature,
    L2Cache,
    Multiplier,
    Bus,  // a front-side bus; a HyperTransport link is another bus
    Process,
};

// One result field: its row caption, its key for scripts (JSON, CSV), what
// the caption's tip says it means and where on the marking it is read (the
// examples are those of an Athlon XP 2500+: AXDA2500DKV4D, KQXEB0345MPMW,
// Y3121234), and the catalogue fact it is held against.
struct FieldInfo {
    Field field;
    std::u16string_view caption;
    std::string_view key;
    CatalogueFact heldAgainst;
    std::u16string_view note;
};

// Every field, in the order of the result rows. Every list of fields in the
// program reads this one table.
// clang-format off
inline constexpr std::array<FieldInfo, kFieldCount> kFields{{
    {Field::Core, u"Core", "core", CatalogueFact::Core,
     u"The design of the die inside the package, such as Barton or Newcastle. It follows from "
     u"the family, the model number, the cache and the bus in Code One; the stepping in Code "
     u"Two tells a Thoroughbred A from a B."},
    {Field::CpuModel, u"CPU Model", "cpu_model", CatalogueFact::CpuModel,
     u"The model number the processor reports to software (CPUID), in hexadecimal; it comes "
     u"with the core. On an AMD64 chip the last two characters of Code One add the revision."},
    {Field::PerformanceModel, u"Performance Model", "performance_model", CatalogueFact::None,
     u"The digits after the family letters at the start of Code One (2500 in AXDA2500DKV4D): a "
     u"performance rating, or the clock in MHz on the first Athlons and Durons."},
    {Field::WorkingFrequency, u"Working frequency", "working_frequency", CatalogueFact::Clock,
     u"The core clock the chip is sold for. It is not printed on it: it is looked up from the "
     u"core, the bus and the model number."},
    {Field::PackageType, u"Package Type", "package_type", CatalogueFact::Package,
     u"The package the die is mounted on, from the first letter after the model number in Code "
     u"One (D in AXDA2500DKV4D: organic pin grid array)."},
    {Field::OperatingVoltage, u"Operating Voltage", "operating_voltage", CatalogueFact::Voltage,
     u"The core voltage, from the second letter after the model number in Code One (K in "
     u"AXDA2500DKV4D: 1.65 volts). Mobile parts that vary it show (Variable)."},
    {Field::MaxOperatingTemperature, u"Max. Operating Temperature", "max_operating_temperature", CatalogueFact::MaxTemperature,
     u"The highest temperature the chip is rated to run at, from the third letter after the "
     u"model number in Code One (V in AXDA2500DKV4D: 85\u00b0C)."},
    {Field::L1Cache, u"L1 Cache", "l1_cache", CatalogueFact::None,
     u"The first-level cache inside the core: 64 KB for instructions and 64 KB for data on "
     u"every chip of these two generations."},
    {Field::L2Cache, u"L2 Cache", "l2_cache", CatalogueFact::L2Cache,
     u"The second-level cache, from the digit fourth after the model number in Code One; each "
     u"unit of it doubles 32 KB (4 in AXDA2500DKV4D: 512 KB)."},
    {Field::Multiplier, u"Multiplier", "multiplier", CatalogueFact::Multiplier,
     u"How many times faster than the bus clock the core runs: looked up with the working "
     u"frequency, or that frequency divided by the bus clock."},
    {Field::FsbFrequency, u"FSB Frequency", "fsb_frequency", CatalogueFact::Bus,
     u"The front-side bus clock. A Socket A chip gives it as the fifth character after the model "
     u"number in Code One (D in AXDA2500DKV4D: 333 MHz); an AMD64 chip takes it from the clock "
     u"tables."},
    {Field::SteppingCode, u"Stepping Code", "stepping_code", CatalogueFact::None,
     u"The letters at the start of Code Two, before the four-digit date (KQXEB in "
     u"KQXEB0345MPMW); they tell the revision of the die."},
    {Field::ManufactureYear, u"Manufacture Year", "manufacture_year", CatalogueFact::None,
     u"The year the chip was made: the first two digits of the date code that follows the "
     u"stepping letters in Code Two (03 in KQXEB0345MPMW: 2003)."},
    {Field::ManufactureWeek, u"Manufacture Week", "manufacture_week", CatalogueFact::None,
     u"The week of that year: the last two digits of the date code in Code Two (45 in "
     u"KQXEB0345MPMW)."},
    {Field::ProductionBatch, u"Production Batch", "production_batch", CatalogueFact::None,
     u"The letter of the production batch, near the end of Code Two (M in KQXEB0345MPMW); "
     u"older chips give it as the last letter."},
    {Field::BatchProductionNumber, u"Batch Production Number", "batch_production_number", CatalogueFact::None,
     u"The number of the chip within its batch: the last four digits of Code Three (1234 in "
     u"Y3121234)."},
    {Field::LaserMarkerId, u"Laser Marker ID", "laser_marker_id", CatalogueFact::None,
     u"A two-digit number that Thoroughbred and Applebred chips carry as the eighth and ninth "
     u"characters of Code Two; other cores show N/A."},
    {Field::ProcessTechnology, u"Process Technology", "process_technology", CatalogueFact::Process,
     u"The size of the smallest features on the die, in micrometres (0.13u is 130 nm). It comes "
     u"with the family letters at the start of Code One, and some cores correct it."},
    {Field::EstimatedThermalPower, u"Estimated Thermal Power", "estimated_thermal_power", CatalogueFact::None,
     u"The heat the chip gives off at full load. It is not worked out yet, so this row always "
     u"reads (Currently Disabled)."},
}};
// clang-format on

// A row out of place would give a value another field's caption and key.
consteval bool FieldsInOrder() {
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        if (Index(kFields[i].field) != i) {
            return false;
        }
    }
    return true;
}
static_assert(FieldsInOrder());

// Keys a script can rely on: none empty, none twice.
consteval bool FieldKeysDistinct() {
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (kFields[i].key.empty() || kFields[i].key == kFields[j].key) {
                return false;
            }
        }
    }
    return true;
}
static_assert(FieldKeysDistinct());

constexpr const FieldInfo& InfoOf(Field field) {
    return kFields[Index(field)];
}

// The caption of a field's result row.
constexpr std::u16string_view Caption(Field field) {
    return InfoOf(field).caption;
}

constexpr Field FieldAt(std::size_t slot) {
    return kFields[slot].field;
}

}  // namespace varnel
