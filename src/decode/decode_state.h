#pragma once

#include <QString>
#include <cstdint>

namespace varnel {

// What the stages of one Check pass on to each other. Integers are 16-bit and
// fractions single precision, and the user sees both: a model number beyond
// 32767 is refused as no part number, and a voltage matches a core rule only
// when it is the rule's single-precision value exactly.
struct DecodeState {
    QString CodeOne;                             // kept; rewritten by Check right after the reset
    QString FamilyPrefix = QStringLiteral("1");  // prefix that matched: "AXDA", "ADA", "K7", "A"
    QString FamilyName;                          // kept; "AMD Athlon XP"
    std::int16_t PrefixLength = 0;               // kept; characters of the prefix
    std::int16_t CpuGeneration = 1;              // 0 unsupported, 1 K7, 2 K8
    std::int16_t ModelNumber = 1;                // rating, clock in MHz or Opteron model
    std::int16_t ModelDigitCount = 1;
    QString RevisionCode = QStringLiteral("  ");  // last two characters of a K8 Code One
    QString Amd64Revision;                        // core revision of a K8 part: "CG", "E6"
    std::int16_t CpuModel = 0;                    // shown in hexadecimal
    float ProcessTechnology = 1.0f;               // micrometres
    QString PackageType = QStringLiteral("1");
    float CoreVoltage = 0.0f;     // volts; -1 variable
    float MaxTemperature = 0.0f;  // degrees Celsius; -1 variable
    std::int16_t L1CacheKb = 0;
    std::int16_t L2CacheKb = 0;
    std::int16_t FsbMhz = 0;
    QString CoreName;
    std::int16_t ClockMhz = 0;
    float Multiplier = 0.0f;
    std::int16_t SteppingLength = 0;  // kept
    QString DateCode;                 // kept
};

// Starts a run: sets every field that is not kept to its start value.
void ResetDecodeState(DecodeState& state);

}  // namespace varnel
