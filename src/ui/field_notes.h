#pragma once

#include <array>
#include <string_view>

#include "decode/sheet.h"

namespace varnel {

// What each result row means and where on the marking it is read, shown as
// the tip of the row's caption. The examples are those of an Athlon XP 2500+:
// AXDA2500DKV4D, KQXEB0345MPMW, Y3121234.
inline constexpr std::array<std::u16string_view, kFieldCount> kFieldNotes{
    // Core
    u"The design of the die inside the package, such as Barton or Newcastle. It follows from "
    u"the family, the model number, the cache and the bus in Code One; the stepping in Code "
    u"Two tells a Thoroughbred A from a B.",
    // CPU Model
    u"The model number the processor reports to software (CPUID), in hexadecimal; it comes "
    u"with the core. On an AMD64 chip the last two characters of Code One add the revision.",
    // Performance Model
    u"The digits after the family letters at the start of Code One (2500 in AXDA2500DKV4D): a "
    u"performance rating, or the clock in MHz on the first Athlons and Durons.",
    // Working frequency
    u"The core clock the chip is sold for. It is not printed on it: it is looked up from the "
    u"core, the bus and the model number.",
    // Package Type
    u"The package the die is mounted on, from the first letter after the model number in Code "
    u"One (D in AXDA2500DKV4D: organic pin grid array).",
    // Operating Voltage
    u"The core voltage, from the second letter after the model number in Code One (K in "
    u"AXDA2500DKV4D: 1.65 volts). Mobile parts that vary it show (Variable).",
    // Max. Operating Temperature
    u"The highest temperature the chip is rated to run at, from the third letter after the "
    u"model number in Code One (V in AXDA2500DKV4D: 85\u00b0C).",
    // L1 Cache
    u"The first-level cache inside the core: 64 KB for instructions and 64 KB for data on "
    u"every chip of these two generations.",
    // L2 Cache
    u"The second-level cache, from the digit fourth after the model number in Code One; each "
    u"unit of it doubles 32 KB (4 in AXDA2500DKV4D: 512 KB).",
    // Multiplier
    u"How many times faster than the bus clock the core runs: looked up with the working "
    u"frequency, or that frequency divided by the bus clock.",
    // FSB Frequency
    u"The front-side bus clock. A Socket A chip gives it as the fifth character after the model "
    u"number in Code One (D in AXDA2500DKV4D: 333 MHz); an AMD64 chip takes it from the clock "
    u"tables.",
    // Stepping Code
    u"The letters at the start of Code Two, before the four-digit date (KQXEB in "
    u"KQXEB0345MPMW); they tell the revision of the die.",
    // Manufacture Year
    u"The year the chip was made: the first two digits of the date code that follows the "
    u"stepping letters in Code Two (03 in KQXEB0345MPMW: 2003).",
    // Manufacture Week
    u"The week of that year: the last two digits of the date code in Code Two (45 in "
    u"KQXEB0345MPMW).",
    // Production Batch
    u"The letter of the production batch, near the end of Code Two (M in KQXEB0345MPMW); "
    u"older chips give it as the last letter.",
    // Batch Production Number
    u"The number of the chip within its batch: the last four digits of Code Three (1234 in "
    u"Y3121234).",
    // Laser Marker ID
    u"A two-digit number that Thoroughbred and Applebred chips carry as the eighth and ninth "
    u"characters of Code Two; other cores show N/A.",
    // Process Technology
    u"The size of the smallest features on the die, in micrometres (0.13u is 130 nm). It comes "
    u"with the family letters at the start of Code One, and some cores correct it.",
    // Estimated Thermal Power
    u"The heat the chip gives off at full load. It is not worked out yet, so this row always "
    u"reads (Currently Disabled).",
};

}  // namespace varnel
