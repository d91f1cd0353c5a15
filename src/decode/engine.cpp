#include "engine.h"

#include <QStringView>
#include <cmath>

#include "captions.h"
#include "shell.h"
#include "tables.h"
#include "text.h"

namespace varnel {

using namespace tables;

namespace {

// Positions inside Code One are 16-bit numbers; the farthest one read is the
// bus letter, five characters behind the model digits.
constexpr int kLastFieldOffset = 5;
constexpr int kInt16Max = 32767;

bool Is(QStringView text, Text value) {
    return text == QStringView(value);
}

// The tables live for the whole program: their texts are shared, not copied.
QString ToQString(Text value) {
    return QString::fromRawData(reinterpret_cast<const QChar*>(value.data()),
                                static_cast<qsizetype>(value.size()));
}

bool BeginsWith(QStringView text, Text name) {
    return Is(Left(text, static_cast<qsizetype>(name.size())), name);
}

// The one-letter lookup shared by package, voltage, temperature and bus: an
// exact, case-sensitive match of a single character; nothing matches empty.
template <typename Rows, typename Value>
void LookUpLetter(const Rows& rows, QStringView piece, Value& target) {
    if (piece.size() != 1) {
        return;
    }
    for (const auto& row : rows) {
        if (piece.front().unicode() == row.letter) {
            target = row.value;
            return;
        }
    }
}

template <std::size_t N>
const K8ClockRow* FindK8Row(const std::array<K8ClockRow, N>& rows, std::int16_t model) {
    for (const K8ClockRow& row : rows) {
        if (row.model == model) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace

DecodeEngine::DecodeEngine(Surface& surface, Prompter& prompter, UrlOpener& opener)
    : surface_(surface), prompter_(prompter), opener_(opener) {}

// The order of the stages of one run. A stage that returns false ends it.
const DecodeEngine::Stage DecodeEngine::kChain[] = {
    &DecodeEngine::IdentifyFamily,
    &DecodeEngine::ReadModelNumber,
    &DecodeEngine::ProceedToPerformanceModel,
    &DecodeEngine::ShowPerformanceModel,
    &DecodeEngine::DecodePackage,
    &DecodeEngine::DecodeVoltage,
    &DecodeEngine::DecodeTemperature,
    &DecodeEngine::DecodeCacheSize,
    &DecodeEngine::DecodeBusSpeed,
    &DecodeEngine::IdentifyCore,
    &DecodeEngine::ReadLaserMarker,
    &DecodeEngine::DecodeStepping,
    &DecodeEngine::RefineCoreName,
    &DecodeEngine::DecodeDateAndBatch,
    &DecodeEngine::ReadBatchCodes,
    &DecodeEngine::ComputeClock,
    &DecodeEngine::ProceedToResults,
    &DecodeEngine::ShowResults,
};

// ---- The Check command --------------------------------------------------------

bool DecodeEngine::Check() {
    for (int box = 0; box < kCodeBoxCount; ++box) {
        if (surface_.CodeText(box).isEmpty()) {
            const QString text = QStringLiteral(
                "One or more textboxes are empty.\r\n"
                "\r\n"
                "You must type in the three alphanumeric codes found either on\r\n"
                "or around the core of your CPU\r\n"
                "\r\n"
                "For more information, visit the 'FAQ' section at the homepage.\r\n"
                "\r\n"
                "Would you like to visit the FAQ now?");
            if (prompter_.Show({text, MessageIcon::Information, MessageButtons::YesNo,
                                QStringLiteral("Hang-on")}) == MessageAnswer::Yes) {
                OpenURL(opener_, QString::fromLatin1(kFaqUrl));
            }
            return false;
        }
    }

    lastRunCompleted_ = false;
    ResetDecodeState(state_);
    ClearLbl();
    FixCode2and3();
    state_.CodeOne = UpperCase(surface_.CodeText(0));
    for (const Stage stage : kChain) {
        if (!(this->*stage)()) {
            // Whatever the stopped run left in the slots belongs to this
            // marking, not to the chip an earlier run named on the frame.
            surface_.SetResultsCaption(ToQString(kWaitingCaption));
            return true;
        }
    }
    return true;
}

void DecodeEngine::ClearLbl() {
    for (int slot = 0; slot < kResultSlotCount; ++slot) {
        surface_.SetResultText(slot, QString());
    }
}

void DecodeEngine::FixCode2and3() {
    const auto digitUpFront = [](const QString& code) {
        for (qsizetype p = 1; p <= 4; ++p) {
            const QStringView c = Mid(code, p, 1);
            if (!c.isEmpty() && IsDecimalDigit(c.front())) {
                return true;
            }
        }
        return false;
    };
    const QString code2 = surface_.CodeText(1);
    const QString code3 = surface_.CodeText(2);
    if (digitUpFront(code2) && !digitUpFront(code3)) {
        surface_.SetCodeText(2, code2);
        surface_.SetCodeText(1, code3);
    }
}

void DecodeEngine::CodeError(const QString& text) {
    prompter_.Show(
        {QStringLiteral("There was an error with the string you entered - Please revise it.") +
             text,
         MessageIcon::Exclamation, MessageButtons::Ok, QStringLiteral("Error")});
}

// ---- Family, model number and revision ----------------------------------------

bool DecodeEngine::IdentifyFamily() {
    bool matched = false;
    for (const FamilyRow& row : kFamilyTable) {
        const qsizetype n = static_cast<qsizetype>(row.prefix.size());
        const QStringView head = Left(state_.CodeOne, n + 1);
        if (head.size() == n + 1 && IsDecimalDigit(head.back()) && Is(head.first(n), row.prefix)) {
            matched = true;
            state_.FamilyPrefix = ToQString(row.prefix);
            state_.PrefixLength = static_cast<std::int16_t>(n);
            state_.FamilyName = ToQString(row.name);
            state_.ProcessTechnology = row.process;
            state_.CpuGeneration = row.generation;
        }
    }

    // A twelve-character Sempron part number is the K7 Sempron on Socket A.
    if ((Is(state_.FamilyPrefix, u"SDS") || Is(state_.FamilyPrefix, u"SDA")) &&
        state_.CodeOne.size() == 12) {
        state_.CpuGeneration = 1;
    }

    if (state_.CpuGeneration == 0) {
        ShowUnsupportedChip(prompter_, state_.FamilyPrefix);
        return false;
    }
    if (!matched) {
        prompter_.Show({QStringLiteral("CPU Identification String not found - Aborting\r\n"
                                       "\r\n"
                                       "Check for errors in the first code."),
                        MessageIcon::Exclamation, MessageButtons::Ok, QStringLiteral("Error")});
        return false;
    }
    if (state_.CpuGeneration == 2) {
        ReadAmd64RevisionCode();
    }
    return true;
}

void DecodeEngine::ReadAmd64RevisionCode() {
    state_.RevisionCode = Right(state_.CodeOne, 2).toString().leftJustified(2, QLatin1Char(' '));
    GetAMD64ModelInformation();
}

void DecodeEngine::GetAMD64ModelInformation() {
    for (const RevisionRow& row : kAmd64RevisionTable) {
        if (Is(state_.RevisionCode, row.code)) {
            if (row.cpuModel != kUnchanged) {
                state_.CpuModel = row.cpuModel;
            }
            if (!row.revision.empty()) {
                state_.Amd64Revision = ToQString(row.revision);
            }
            return;
        }
    }
}

bool DecodeEngine::ReadModelNumber() {
    qsizetype k = state_.PrefixLength + 1;
    qsizetype digitCount = 0;
    long value = 0;
    bool tooLarge = false;
    while (k <= state_.CodeOne.size() && IsDecimalDigit(state_.CodeOne[k - 1])) {
        if (!tooLarge) {
            value = value * 10 + (state_.CodeOne[k - 1].unicode() - u'0');
            tooLarge = value > kInt16Max;
        }
        ++digitCount;
        ++k;
    }
    // The model number and the positions behind it are 16-bit numbers: a code
    // that does not fit them is not a part number and is refused whole.
    if (tooLarge || state_.PrefixLength + digitCount + kLastFieldOffset > kInt16Max) {
        ShowMalformedCodeOne();
        return false;
    }
    state_.ModelNumber = static_cast<std::int16_t>(value);
    state_.ModelDigitCount = static_cast<std::int16_t>(digitCount);
    return true;
}

bool DecodeEngine::ProceedToPerformanceModel() {
    return true;
}

// ---- Performance model ----------------------------------------------------------

bool DecodeEngine::ShowPerformanceModel() {
    const std::int16_t number = state_.ModelNumber;
    const QString& family = state_.FamilyName;
    QString text;
    if (state_.CpuGeneration == 1) {
        // The older Athlon and Duron carry their clock in MHz, not a rating.
        if (Is(family, u"AMD Athlon") || Is(family, u"AMD Duron")) {
            text = QStringLiteral("N/A");
            state_.ClockMhz = number;
        } else {
            text = FormatInteger(number, u"+");
        }
    } else if (state_.CpuGeneration == 2) {
        if (Is(family, u"AMD Athlon 64 FX")) {
            text = Concat({u"FX-", FormatInteger(number)});
        } else if (Is(family, u"AMD Opteron")) {
            // The first digit of an Opteron model is the number of sockets.
            const QString digits = FormatInteger(number);
            text = Concat({digits, u" (", Left(digits, 1), u"-Way)"});
        } else {
            text = FormatInteger(number, u"+");
        }
    }
    surface_.SetResultText(2, text);
    return true;
}

// ---- Package, voltage, temperature, cache and bus -------------------------------

QStringView DecodeEngine::CharacterAfterModel(int offset) const {
    return Mid(state_.CodeOne, state_.PrefixLength + state_.ModelDigitCount + offset, 1);
}

bool DecodeEngine::DecodePackage() {
    const QStringView letter = CharacterAfterModel(1);
    Text package;
    if (state_.CpuGeneration == 1) {
        LookUpLetter(kK7Package, letter, package);
    } else if (state_.CpuGeneration == 2) {
        LookUpLetter(kK8Package, letter, package);
    }
    if (!package.empty()) {
        state_.PackageType = ToQString(package);
    }
    surface_.SetResultText(4, state_.PackageType);
    return true;
}

bool DecodeEngine::DecodeVoltage() {
    const QStringView letter = CharacterAfterModel(2);
    if (state_.CpuGeneration == 1) {
        LookUpLetter(kK7Voltage, letter, state_.CoreVoltage);
    } else if (state_.CpuGeneration == 2) {
        LookUpLetter(kK8Voltage, letter, state_.CoreVoltage);
    }
    state_.CoreVoltage =
        static_cast<float>(std::round(static_cast<double>(state_.CoreVoltage) * 100.0) / 100.0);
    return true;
}

bool DecodeEngine::DecodeTemperature() {
    const QStringView letter = CharacterAfterModel(3);
    if (state_.CpuGeneration == 1) {
        LookUpLetter(kK7Temperature, letter, state_.MaxTemperature);
    } else if (state_.CpuGeneration == 2) {
        LookUpLetter(kK8Temperature, letter, state_.MaxTemperature);
    }
    return true;
}

void DecodeEngine::ShowMalformedCodeOne() {
    prompter_.Show({QStringLiteral("Code one has an error in it - Please correct!"),
                    MessageIcon::None, MessageButtons::Ok, ApplicationTitle()});
    ClearLbl();
}

bool DecodeEngine::DecodeCacheSize() {
    const QStringView digit = CharacterAfterModel(4);
    if (digit.isEmpty() || !IsDecimalDigit(digit.front())) {
        ShowMalformedCodeOne();
        return false;
    }
    std::int16_t l2 = kL2CacheBaseKb;
    for (int d = digit.front().unicode() - u'0'; d > 0; --d) {
        l2 = static_cast<std::int16_t>(l2 * 2);
    }
    state_.L2CacheKb = l2;
    state_.L1CacheKb = kL1CacheKb;
    return true;
}

bool DecodeEngine::DecodeBusSpeed() {
    // Only a K7 names its bus in Code One; a K8 gets its bus from the clock tables.
    if (state_.CpuGeneration == 1) {
        LookUpLetter(kK7Bus, CharacterAfterModel(5), state_.FsbMhz);
    }
    return true;
}

// ---- Core name --------------------------------------------------------------------

bool DecodeEngine::IdentifyCore() {
    DecodeState& s = state_;
    const auto setCore = [&s](Text core) { s.CoreName = ToQString(core); };
    const bool semK7 =
        (Is(s.FamilyPrefix, u"SDA") && s.CpuGeneration == 1) || Is(s.FamilyPrefix, u"SDC");

    // Group A: the first rule that holds decides, even when none of its inner
    // cases does.
    if (Is(s.FamilyPrefix, u"ADAFX")) {
        setCore(u"SledgeHammer");
    } else if (semK7) {
        if (s.L2CacheKb == 256) {
            setCore(u"Thoroughbred");
            s.CpuModel = 8;
        } else if (s.L2CacheKb == 512) {
            setCore(u"Barton");
            s.CpuModel = 10;
        }
    } else if (Is(s.FamilyPrefix, u"SDA") && s.CpuGeneration == 2) {
        setCore(u"Paris");
    } else if (Is(s.FamilyPrefix, u"SDS") && s.CpuGeneration == 2) {
        setCore(u"Thoroughbred/Thorton");
        s.CpuModel = 10;
    } else if ((Is(s.RevisionCode, u"BV") && Is(s.FamilyPrefix, u"ADA")) ||
               Is(s.RevisionCode, u"CD")) {
        // The dual-core parts: one MB of cache per core is a Toledo.
        if (s.L2CacheKb == 1024) {
            setCore(u"Manchester");
        } else if (s.L2CacheKb == 2048) {
            setCore(u"Toledo");
        }
    } else if (Is(s.FamilyPrefix, u"ADA") && s.L2CacheKb == 1024) {
        setCore(u"ClawHammer");
    } else if (Is(s.FamilyPrefix, u"ADA") && s.L2CacheKb == 512 && s.CoreVoltage == 1.5f) {
        setCore(u"NewCastle");
    } else if (s.CoreVoltage == -1.0f ||
               (Is(s.FamilyPrefix, u"ADA") && s.L2CacheKb == 512 && s.CoreVoltage == 1.4f)) {
        setCore(u"WinChester");
        s.ProcessTechnology = 0.09f;
    } else if (Is(s.FamilyPrefix, u"AMA") || Is(s.FamilyPrefix, u"AMN")) {
        setCore(u"ClawHammer");
    } else if (Is(s.FamilyPrefix, u"OSA")) {
        setCore(u"SledgeHammer");
    }

    // Group B, the K7 cores, overrides whatever group A set.
    for (const CoreByCacheRow& row : kK7CoreByCache) {
        if (Is(s.FamilyPrefix, row.prefix) && s.L2CacheKb == row.l2CacheKb) {
            s.CoreName = ToQString(row.core);
            s.CpuModel = row.cpuModel;
            return true;
        }
    }
    for (Text prefix : kDuronPrefixes) {
        if (Is(s.FamilyPrefix, prefix)) {
            if (s.L2CacheKb == kDuronL2CacheKb) {
                for (const DuronCoreRow& row : kDuronCoreByVoltage) {
                    if (s.CoreVoltage == row.voltage) {
                        s.CoreName = ToQString(row.core);
                        s.CpuModel = row.cpuModel;
                        if (row.process != 0.0f) {
                            s.ProcessTechnology = row.process;
                        }
                        break;
                    }
                }
            }
            break;
        }
    }
    return true;
}

// ---- Stepping and core revision ---------------------------------------------------

bool DecodeEngine::ReadLaserMarker() {
    QString text = QStringLiteral("N/A");
    // Thoroughbred and Applebred carry a two-digit laser marker ID in Code Two.
    if (state_.CpuGeneration == 1 && state_.CpuModel == 8) {
        const QString code2 = surface_.CodeText(1);
        const QStringView marker = Mid(code2, 8, 2);
        text = IsNumeric(marker) ? marker.toString()
                                 : QStringLiteral("Error: Unable to read correct value");
    }
    surface_.SetResultText(16, text);
    return true;
}

bool DecodeEngine::DecodeStepping() {
    ReadSteppingCode(1);
    return true;
}

void DecodeEngine::ReadSteppingCode(std::int16_t boxIndex) {
    const QString t = surface_.CodeText(boxIndex);
    state_.SteppingLength = 0;
    // The stepping code runs up to the first digit; a digit at position 1
    // still belongs to it.
    for (qsizetype p = 2; p <= 8; ++p) {
        if (IsNumeric(Mid(t, p, 1))) {
            state_.SteppingLength = static_cast<std::int16_t>(p - 1);
            break;
        }
    }
    if (state_.SteppingLength == 0) {
        prompter_.Show({QStringLiteral("Failed trying to retrieve stepping"), MessageIcon::None,
                        MessageButtons::Ok, ApplicationTitle()});
    }
    if (state_.SteppingLength >= 1) {
        surface_.SetResultText(11, Left(t, state_.SteppingLength).toString());
    }
}

bool DecodeEngine::RefineCoreName() {
    if (Is(state_.CoreName, u"Thoroughbred")) {
        // The last letter of the stepping code tells revision A from B, the
        // first the high-end from the low-end grade.
        const QString stepping = surface_.ResultText(11);
        const QStringView last = Right(stepping, 1);
        const QStringView first = Left(stepping, 1);
        if (Is(last, u"A")) {
            state_.CoreName = QStringLiteral("Thoroughbred A");
        } else if (Is(last, u"B")) {
            state_.CoreName = QStringLiteral("Thoroughbred B");
        }
        if (Is(first, u"A")) {
            state_.CoreName += QStringLiteral(" High end");
        } else if (Is(first, u"J")) {
            state_.CoreName += QStringLiteral(" Low end");
        }
    }
    surface_.SetResultText(0, state_.CoreName);
    return true;
}

// ---- Date and batch -------------------------------------------------------------------

bool DecodeEngine::DecodeDateAndBatch() {
    ReadDateCode(1);
    return true;
}

void DecodeEngine::ReadDateCode(std::int16_t boxIndex) {
    const QString t = surface_.CodeText(boxIndex);
    const QStringView d = Mid(t, state_.SteppingLength + 1, 4);
    if (IsNumeric(d)) {
        state_.DateCode = d.toString();
        surface_.SetResultText(12, Concat({u"Year 20", Left(state_.DateCode, 2)}));
        surface_.SetResultText(13, Concat({u"Week ", Right(state_.DateCode, 2)}));
    } else {
        surface_.SetResultText(12, QStringLiteral("?"));
        surface_.SetResultText(13, QStringLiteral("?"));
    }
}

bool DecodeEngine::ReadBatchCodes() {
    const QString code2 = surface_.CodeText(1);
    const QString code3 = surface_.CodeText(2);
    const std::int16_t model = state_.CpuModel;
    const bool isDuron = Is(state_.FamilyName, u"AMD Duron");

    // The batch production number: the last four digits of Code Three.
    if (model == 8 || model == 10) {
        const QStringView number = Right(code3, 4);
        if (!IsNumeric(number)) {
            ClearLbl();
            prompter_.Show({QStringLiteral("Error: Unable to read correct value in textbox two.\r\n"
                                           "\r\n"
                                           "Try switching Codes 2 and 3 around."),
                            MessageIcon::Exclamation, MessageButtons::Ok, ApplicationTitle()});
            return false;
        }
        surface_.SetResultText(15, number.toString());
    } else if (model == 3 || model == 4 || model == 6 || model == 7) {
        surface_.SetResultText(15, QStringLiteral("N/A"));
    }

    // The production batch letter, from the end of Code Two.
    if ((model == 8 && !isDuron) || model == 10) {
        const QStringView tail = Right(code2, 4);
        if (IsNumeric(tail)) {
            // Code Two ends in what should be Code Three's number.
            prompter_.Show({QStringLiteral("Error: Unable to read correct value in textbox three."),
                            MessageIcon::None, MessageButtons::Ok, ApplicationTitle()});
            return false;
        }
        const QStringView batch = Mid(tail, 3, 1);
        if (!IsNumeric(batch)) {
            surface_.SetResultText(14, batch.toString());
        }
    } else if (isDuron || model == 4 || model == 6 || model == 7) {
        surface_.SetResultText(14, Right(code2, 1).toString());
    }
    return true;
}

// ---- Clock and multiplier ---------------------------------------------------------------

void DecodeEngine::ComputeMultiplierFromClock(int busMhz) {
    if (busMhz <= 0) {
        return;  // no bus letter, nothing to divide by: the multiplier stays unknown
    }
    const double quotient = state_.ClockMhz / (busMhz / 2.0);
    state_.Multiplier = FormatFixed(quotient, 1).toFloat();
}

bool DecodeEngine::ComputeClock() {
    DecodeState& s = state_;
    const auto setClock = [&s](std::int16_t mhz, float multiplier) {
        s.ClockMhz = mhz;
        s.Multiplier = multiplier;
    };
    const auto applyK8Row = [&s](const K8ClockRow* row) {
        if (row != nullptr) {
            s.ClockMhz = row->mhz;
            s.Multiplier = row->multiplier;
            s.FsbMhz = row->fsbMhz;
        }
    };

    if (s.CpuGeneration == 1) {
        if (s.CpuModel == 3 || s.CpuModel == 4 || s.CpuModel == 7) {
            if (s.ClockMhz > 0) {
                // The bus clock as its first three digits: 200, 266, 333, 400.
                ComputeMultiplierFromClock(Left(FormatInteger(s.FsbMhz), 3).toInt());
            }
        } else if ((s.CpuModel == 6 || s.CpuModel == 8 || s.CpuModel == 10) && s.ModelNumber > 0) {
            int column = 0;  // 1 to 8; 0 no column
            bool clockFromCode = false;
            if (Is(s.CoreName, u"Palomino")) {
                column = 1;
            } else if (BeginsWith(s.CoreName, u"Thoroughbred") && s.FsbMhz == 266) {
                column = 2;
            } else if (BeginsWith(s.CoreName, u"Thoroughbred") && s.FsbMhz == 333 &&
                       (Is(s.FamilyPrefix, u"SDA") || Is(s.FamilyPrefix, u"SDC"))) {
                column = 3;
            } else if (BeginsWith(s.CoreName, u"Thoroughbred") && s.FsbMhz == 333) {
                column = 4;
            } else if (BeginsWith(s.CoreName, u"Barton") && s.FsbMhz == 266) {
                column = 5;
            } else if (BeginsWith(s.CoreName, u"Barton") && s.FsbMhz == 333) {
                column = 6;
            } else if (BeginsWith(s.CoreName, u"Barton") && s.FsbMhz == 400) {
                column = 7;
            } else if (BeginsWith(s.CoreName, u"Thorton") && s.FsbMhz == 266) {
                column = 8;
            } else if (Is(s.CoreName, u"Applebred") && s.FsbMhz == 266) {
                clockFromCode = true;
            }

            if (clockFromCode) {
                if (s.ClockMhz > 0) {
                    ComputeMultiplierFromClock(s.FsbMhz);
                }
            } else if (column > 0) {
                ClockCell cell = kNoCell;
                for (const K7ClockRow& row : kK7ClockTable) {
                    if (row.rating == s.ModelNumber) {
                        cell = row.columns[static_cast<std::size_t>(column - 1)];
                    }
                }
                if (column == 6 && s.ModelNumber == kSempronBartonRating &&
                    Is(s.FamilyPrefix, u"SDA")) {
                    cell = kSempronBarton3000;
                }
                if (column == 5 && cell.mhz == 0) {
                    // A Barton on a 266 MHz bus at a rating no table lists.
                    const QString number = FormatInteger(s.ModelNumber);
                    ClearLbl();
                    ShowUnsupportedChip(prompter_, Concat({u"Athlon XP-M ", number}));
                    return false;
                }
                setClock(cell.mhz, cell.multiplier);
            }
        }
    } else if (s.CpuGeneration == 2) {
        if ((Is(s.CoreName, u"ClawHammer") && s.L2CacheKb == 512) || Is(s.CoreName, u"NewCastle")) {
            applyK8Row(FindK8Row(kNewCastleClock, s.ModelNumber));
        } else if (Is(s.CoreName, u"Manchester") || Is(s.CoreName, u"Toledo")) {
            s.FamilyName = QStringLiteral("AMD Athlon 64 X2");
            if (s.L2CacheKb == 1024) {
                applyK8Row(FindK8Row(kX2Clock1024, s.ModelNumber));
            } else if (s.L2CacheKb == 2048) {
                applyK8Row(FindK8Row(kX2Clock2048, s.ModelNumber));
            }
        } else if (Is(s.CoreName, u"WinChester") && s.L2CacheKb == 512) {
            applyK8Row(FindK8Row(kWinChesterClock, s.ModelNumber));
        } else if (Is(s.CoreName, u"ClawHammer") && s.L2CacheKb == 1024) {
            applyK8Row(FindK8Row(kClawHammer1024Clock, s.ModelNumber));
        } else if (Is(s.CoreName, u"Paris")) {
            applyK8Row(FindK8Row(kParisClock, s.ModelNumber));
        }

        if (Is(s.CoreName, u"SledgeHammer")) {
            if (Is(s.FamilyName, u"AMD Athlon 64 FX")) {
                applyK8Row(FindK8Row(kFxClock, s.ModelNumber));
            } else if (Is(s.FamilyName, u"AMD Opteron") && s.L2CacheKb == kOpteronL2CacheKb) {
                const QString model = FormatInteger(s.ModelNumber);
                if (model.size() == 3) {
                    for (const OpteronClockRow& row : kOpteronClock) {
                        if (Is(model.right(2), row.suffix)) {
                            s.ClockMhz = row.mhz;
                            s.Multiplier = row.multiplier;
                            s.FsbMhz = kK8BusMhz;
                            break;
                        }
                    }
                }
            }
        }
    }

    const QString unknown = QStringLiteral("Unknown Processor");
    surface_.SetResultText(3, s.ClockMhz == 0 ? unknown : FormatInteger(s.ClockMhz, u"MHz"));
    surface_.SetResultText(9, s.Multiplier == 0.0f ? unknown : FormatFixed(s.Multiplier, 1, u"x"));
    surface_.SetResultText(10, s.FsbMhz == 0 ? unknown : FormatInteger(s.FsbMhz, u"MHz"));
    return true;
}

bool DecodeEngine::ProceedToResults() {
    return true;
}

// ---- Results ----------------------------------------------------------------------------

bool DecodeEngine::ShowResults() {
    const DecodeState& s = state_;
    surface_.SetResultsCaption(s.FamilyName);
    surface_.SetResultText(0, s.CoreName);

    // A K8 shows its core revision beside the model, "??" when the code gave none.
    if (s.CpuGeneration != 2) {
        surface_.SetResultText(1, FormatHex(s.CpuModel));
    } else if (s.Amd64Revision.size() == 2) {
        surface_.SetResultText(1, FormatHex(s.CpuModel, Concat({u" (", s.Amd64Revision, u")"})));
    } else {
        surface_.SetResultText(1, FormatHex(s.CpuModel, u" (?\?)"));
    }

    const QString variable = QStringLiteral("(Variable)");
    surface_.SetResultText(5,
                           s.CoreVoltage == -1.0f ? variable : FormatFixed(s.CoreVoltage, 2, u"v"));
    surface_.SetResultText(
        6, s.MaxTemperature == -1.0f ? variable : FormatSingle(s.MaxTemperature, u"\u00b0C"));
    surface_.SetResultText(7, FormatInteger(s.L1CacheKb, u"KB"));
    surface_.SetResultText(8, FormatInteger(s.L2CacheKb, u"KB"));
    surface_.SetResultText(17, FormatSingle(s.ProcessTechnology, u"u"));
    surface_.SetResultText(18, QStringLiteral("(Currently Disabled)"));

    for (int slot = 0; slot < kResultSlotCount; ++slot) {
        if (surface_.ResultIsEmpty(slot)) {
            surface_.SetResultText(slot, QStringLiteral("(Unknown)"));
        }
    }
    lastRunCompleted_ = true;
    return true;
}

}  // namespace varnel
