#include "decode/engine.h"

#include <QStringView>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "decode/captions.h"
#include "decode/program.h"
#include "decode/tables.h"
#include "decode/text.h"

namespace varnel {

using namespace tables;

namespace {

// Positions inside Code One are 16-bit numbers; the farthest one read is the
// bus letter, five characters behind the model digits.
constexpr int kLastFieldOffset = 5;
constexpr int kInt16Max = 32767;

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
template <typename Value, std::size_t N>
const Value* FindLetter(const std::array<LetterRow<Value>, N>& rows, QStringView piece) {
    if (piece.size() != 1) {
        return nullptr;
    }
    for (const LetterRow<Value>& row : rows) {
        if (piece.front().unicode() == row.letter) {
            return &row.value;
        }
    }
    return nullptr;
}

template <typename Value, std::size_t N>
void LookUpLetter(const std::array<LetterRow<Value>, N>& rows, QStringView piece, Value& target) {
    if (const Value* value = FindLetter(rows, piece)) {
        target = *value;
    }
}

const K8ClockRow* FindK8Row(std::span<const K8ClockRow> rows, int key) {
    const auto row = std::ranges::find(rows, key, &K8ClockRow::model);
    return row == rows.end() ? nullptr : &*row;
}

// The key a K8 clock row is found by: the model number, or for an Opteron
// the last two digits of a three-digit model (the first digit counts sockets).
int K8KeyOf(K8Key key, std::int16_t model) {
    if (key == K8Key::Model) {
        return model;
    }
    return model >= 100 && model <= 999 ? model % 100 : -1;
}

bool K8BranchHolds(const K8ClockBranch& branch, const DecodeState& s) {
    const bool core = std::ranges::any_of(branch.when, [&s](const CoreAndCache& c) {
        return !c.core.empty() && Is(s.CoreName, c.core) &&
               (c.l2CacheKb == kAny || c.l2CacheKb == s.L2CacheKb);
    });
    return core && (branch.family.empty() || Is(s.FamilyName, branch.family));
}

bool ConditionHolds(const CoreCondition& c, const DecodeState& s) {
    return !IsUnused(c) && (c.prefix.empty() || Is(s.FamilyPrefix, c.prefix)) &&
           (c.generation == kAny || c.generation == s.CpuGeneration) &&
           (c.revision.empty() || Is(s.RevisionCode, c.revision)) &&
           (c.l2CacheKb == kAny || c.l2CacheKb == s.L2CacheKb) &&
           (c.voltage == kAnyVoltage || c.voltage == s.CoreVoltage);
}

bool OutcomeHolds(const CoreOutcome& o, const DecodeState& s) {
    return (o.l2CacheKb == kAny || o.l2CacheKb == s.L2CacheKb) &&
           (o.voltage == kAnyVoltage || o.voltage == s.CoreVoltage);
}

template <std::size_t N>
bool Contains(const std::array<std::int16_t, N>& models, std::int16_t model) {
    return std::ranges::find(models, model) != models.end();
}

// The numbers of the sheet say what its values say; zero, the reading of a
// value never found, says nothing.

// A whole number, shown as it is.
std::optional<ShownNumber> Whole(int value) {
    return value != 0 ? std::optional<ShownNumber>({value, 0}) : std::nullopt;
}

// A value shown with a fixed number of decimals ("1.65v", "11.0x"), as the
// text reads. The decode rounds voltages and multipliers to those decimals
// before it shows them, so no half is ever met here.
std::optional<ShownNumber> Decimal(float value, std::int8_t decimals) {
    constexpr std::array<double, 3> kScales{1, 10, 100};
    const double scaled = value * kScales.at(static_cast<std::size_t>(decimals));
    const auto digits = static_cast<std::int32_t>(scaled + (scaled < 0 ? -0.5 : 0.5));
    return digits != 0 ? std::optional<ShownNumber>({digits, decimals}) : std::nullopt;
}

// Two decimal digits as a number; none unless both are digits.
std::optional<int> TwoDigits(QStringView text) {
    if (text.size() != 2 || !IsDecimalDigit(text[0]) || !IsDecimalDigit(text[1])) {
        return std::nullopt;
    }
    return (text[0].unicode() - u'0') * 10 + (text[1].unicode() - u'0');
}

// Reads digits from text[at] on into number; returns how many. Stops short
// of more digits than a number holds.
int ReadDigits(QStringView text, qsizetype& at, ShownNumber& number) {
    constexpr std::int32_t kMostDigits = 99'999'999;
    int count = 0;
    for (; at < text.size() && IsDecimalDigit(text[at]) && number.digits <= kMostDigits; ++at) {
        number.digits = number.digits * 10 + (text[at].unicode() - u'0');
        ++count;
    }
    return count;
}

// The number a value in its shortest form opens with ("85°C" gives 85,
// "0.13u" 0.13): digits, a decimal point with digits behind it, then the end
// or a unit (a letter or the degree sign). None for any other text.
std::optional<ShownNumber> NumberShown(QStringView text) {
    qsizetype at = 0;
    ShownNumber number;
    if (ReadDigits(text, at, number) == 0) {
        return std::nullopt;
    }
    if (at + 1 < text.size() && text[at] == u'.' && IsDecimalDigit(text[at + 1])) {
        ++at;
        number.decimals = static_cast<std::int8_t>(ReadDigits(text, at, number));
    }
    const bool unitFollows = at == text.size() || text[at] == u'\u00b0' || text[at].isLetter();
    if (number.digits == 0 || !unitFollows) {
        return std::nullopt;
    }
    return number;
}

// The numbers the final results show beside those of the clock and the date.
void ReadResultNumbers(const DecodeState& s, Sheet& sheet) {
    SheetNumbers& numbers = sheet.numbers;
    numbers.Set(Quantity::VoltageV,
                s.CoreVoltage == -1.0f ? std::nullopt : Decimal(s.CoreVoltage, 2));
    numbers.Set(Quantity::MaxTempC, NumberShown(sheet[Field::MaxOperatingTemperature]));
    numbers.Set(Quantity::L1Kb, Whole(s.L1CacheKb));
    numbers.Set(Quantity::L2Kb, Whole(s.L2CacheKb));
    numbers.Set(Quantity::ProcessUm, NumberShown(sheet[Field::ProcessTechnology]));
}

}  // namespace

DecodeEngine::DecodeEngine(Prompter& prompter, UrlOpener& opener)
    : opener_(opener), sheet_(WaitingSheet()), prompter_(sheet_, prompter) {}

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

bool DecodeEngine::Check(const Codes& codes) {
    if (std::ranges::any_of(codes, &QString::isEmpty)) {
        RefuseEmptyBox(codes);
        return false;
    }
    lastRunCompleted_ = false;
    ResetDecodeState(state_);
    sheet_.messages.clear();
    sheet_.completed = false;
    sheet_.numbers.Clear();
    sheet_.findings = Findings();
    sheet_.codes = codes;
    running_ = true;
    ClearLbl();
    // Until the run names a family, the frame names none: a message shown
    // during the run must not sit under the last chip's name.
    sheet_.caption = WaitingCaption();
    FixCode2and3(sheet_.codes);
    state_.CodeOne = UpperCase(sheet_.codes[0]);
    const bool completed =
        std::ranges::all_of(kChain, [this](Stage stage) { return (this->*stage)(); });
    if (!completed) {
        // A run that stops shows no family and no number: whatever it left
        // belongs to no chip.
        sheet_.caption = WaitingCaption();
        sheet_.numbers.Clear();
    }
    running_ = false;
    return true;
}

void DecodeEngine::RefuseEmptyBox(const Codes& codes) {
    // No run starts: the sheet says so and holds the codes as they were typed.
    sheet_ = WaitingSheet();
    sheet_.codes = codes;
    const auto empty = std::ranges::find_if(codes, &QString::isEmpty);
    Stop(StopReason::EmptyCode, static_cast<int>(empty - codes.begin()) + 1);
    const QString text = QStringLiteral(
        "One or more textboxes are empty.\r\n"
        "\r\n"
        "You must type in the three alphanumeric codes found either on\r\n"
        "or around the core of your CPU\r\n"
        "\r\n"
        "For more information, visit the 'FAQ' section at the homepage.\r\n"
        "\r\n"
        "Would you like to visit the FAQ now?");
    if (Show({text, MessageIcon::Information, MessageButtons::YesNo, QStringLiteral("Hang-on")}) ==
        MessageAnswer::Yes) {
        OpenURL(opener_, QString::fromLatin1(kFaqUrl));
    }
}

void DecodeEngine::SetValue(Field field, QStringView text, bool read) {
    ShortText& value = sheet_[field];
    value.Clear();
    value.Append(text);
    sheet_.findings.SetRead(field, read && !text.isEmpty());
}

void DecodeEngine::Stop(StopReason reason, int code) {
    sheet_.findings.stop = reason;
    sheet_.findings.stopCode = static_cast<std::int8_t>(code);
}

void DecodeEngine::Restart() {
    state_ = DecodeState();
    sheet_ = WaitingSheet();
    lastRunCompleted_ = false;
}

void DecodeEngine::ClearLbl() {
    for (ShortText& value : sheet_.values) {
        value.Clear();
    }
    sheet_.findings.ClearRead();
}

void DecodeEngine::FixCode2and3(Codes& codes) {
    const auto digitUpFront = [](const QString& code) {
        for (qsizetype p = 1; p <= 4; ++p) {
            const QStringView c = Mid(code, p, 1);
            if (!c.isEmpty() && IsDecimalDigit(c.front())) {
                return true;
            }
        }
        return false;
    };
    if (digitUpFront(codes[1]) && !digitUpFront(codes[2])) {
        std::swap(codes[1], codes[2]);
    }
}

// ---- Family, model number and revision ----------------------------------------

bool DecodeEngine::MatchFamilyPrefix() {
    bool matched = false;
    const QStringView code = state_.CodeOne;
    for (const FamilyRow& row : kFamilyTable) {
        // The prefix, then a digit: the first letter rules out most rows at once.
        const qsizetype n = static_cast<qsizetype>(row.prefix.size());
        if (code.size() > n && code[0] == QChar(row.prefix[0]) && IsDecimalDigit(code[n]) &&
            Is(code.first(n), row.prefix)) {
            matched = true;
            state_.FamilyPrefix = ToQString(row.prefix);
            state_.PrefixLength = static_cast<std::int16_t>(n);
            state_.FamilyName = ToQString(row.name);
            sheet_.findings.family = row.name;
            state_.ProcessTechnology = row.process;
            state_.CpuGeneration = row.generation;
        }
    }
    return matched;  // the last row that matches decides
}

bool DecodeEngine::IdentifyFamily() {
    const bool matched = MatchFamilyPrefix();

    // A twelve-character Sempron part number is the K7 Sempron on Socket A.
    if ((Is(state_.FamilyPrefix, u"SDS") || Is(state_.FamilyPrefix, u"SDA")) &&
        state_.CodeOne.size() == 12) {
        state_.CpuGeneration = 1;
    }

    if (state_.CpuGeneration == 0) {
        Stop(StopReason::UnsupportedChip, 1);
        ShowUnsupportedChip(prompter_, state_.FamilyPrefix);
        return false;
    }
    if (!matched) {
        Stop(StopReason::UnknownPrefix, 1);
        Show({QStringLiteral("CPU Identification String not found - Aborting\r\n"
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
                sheet_.findings.revision = row.revision;
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
    ShortText text;
    if (state_.CpuGeneration == 1) {
        // The older Athlon and Duron carry their clock in MHz, not a rating.
        if (Is(family, u"AMD Athlon") || Is(family, u"AMD Duron")) {
            text = ShortText(u"N/A");
            state_.ClockMhz = number;
        } else {
            text = FormatInteger(number, u"+");
        }
    } else if (state_.CpuGeneration == 2) {
        if (Is(family, u"AMD Athlon 64 FX")) {
            text = Concat({u"FX-", FormatInteger(number)});
        } else if (Is(family, u"AMD Opteron")) {
            // The first digit of an Opteron model is the number of sockets.
            const ShortText digits = FormatInteger(number);
            text = Concat({digits, u" (", Left(digits, 1), u"-Way)"});
        } else {
            text = FormatInteger(number, u"+");
        }
    }
    SetValue(Field::PerformanceModel, text);
    return true;
}

// ---- Package, voltage, temperature, cache and bus -------------------------------

QStringView DecodeEngine::CharacterAfterModel(int offset) const {
    return Mid(state_.CodeOne, state_.PrefixLength + state_.ModelDigitCount + offset, 1);
}

bool DecodeEngine::DecodePackage() {
    const QStringView letter = CharacterAfterModel(1);
    const PackageRow* package = nullptr;
    if (state_.CpuGeneration == 1) {
        package = FindLetter(kK7Package, letter);
    } else if (state_.CpuGeneration == 2) {
        package = FindLetter(kK8Package, letter);
    }
    if (package != nullptr) {
        state_.PackageType = ToQString(package->name);
    }
    sheet_.findings.package = package;
    SetValue(Field::PackageType, state_.PackageType, package != nullptr);
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
    Stop(StopReason::MalformedCodeOne, 1);
    Show({QStringLiteral("Code one has an error in it - Please correct!"), MessageIcon::None,
          MessageButtons::Ok, ApplicationTitle()});
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
    // Group B runs whatever group A did and overrides it.
    ApplyFirstCoreRule(kCoreRulesA);
    ApplyFirstCoreRule(kCoreRulesB);
    return true;
}

void DecodeEngine::ApplyFirstCoreRule(std::span<const CoreRule> rules) {
    const DecodeState& s = state_;
    const auto holds = [&s](const CoreCondition& c) { return ConditionHolds(c, s); };
    for (const CoreRule& rule : rules) {
        if (std::ranges::none_of(rule.when, holds)) {
            continue;
        }
        for (const CoreOutcome& outcome : rule.then) {
            if (!outcome.core.empty() && OutcomeHolds(outcome, s)) {
                ApplyCoreOutcome(outcome);
                break;
            }
        }
        return;  // a rule that holds ends its group, outcome or not
    }
}

void DecodeEngine::ApplyCoreOutcome(const CoreOutcome& outcome) {
    state_.CoreName = ToQString(outcome.core);
    sheet_.findings.core = outcome.core;
    sheet_.findings.cores = outcome.cores;
    if (outcome.cpuModel != kUnchanged) {
        state_.CpuModel = outcome.cpuModel;
    }
    if (outcome.process != 0.0f) {
        state_.ProcessTechnology = outcome.process;
    }
}

// ---- Stepping and core revision ---------------------------------------------------

bool DecodeEngine::ReadLaserMarker() {
    // Thoroughbred and Applebred carry a two-digit laser marker ID in Code Two.
    if (state_.CpuGeneration != 1 || state_.CpuModel != kThoroughbredModel) {
        SetValue(Field::LaserMarkerId, u"N/A");
        return true;
    }
    const QStringView marker = Mid(sheet_.codes[1], 8, 2);
    const bool read = IsNumeric(marker);
    SetValue(Field::LaserMarkerId, read ? marker : u"Error: Unable to read correct value", read);
    return true;
}

bool DecodeEngine::DecodeStepping() {
    ReadSteppingCode(1);
    return true;
}

void DecodeEngine::ReadSteppingCode(std::int16_t boxIndex) {
    const QString& t = sheet_.codes[static_cast<std::size_t>(boxIndex)];
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
        Show({QStringLiteral("Failed trying to retrieve stepping"), MessageIcon::None,
              MessageButtons::Ok, ApplicationTitle()});
    }
    if (state_.SteppingLength >= 1) {
        SetValue(Field::SteppingCode, Left(t, state_.SteppingLength));
    }
}

namespace {

// The refinement whose letter the piece is; appends it to the core's name.
template <std::size_t N>
Text Refine(const std::array<Refinement, N>& rows, QStringView piece, QString& core) {
    for (const Refinement& row : rows) {
        if (Is(piece, row.letter)) {
            core += ToQString(row.refinement);
            return row.fact;
        }
    }
    return {};
}

}  // namespace

bool DecodeEngine::RefineCoreName() {
    if (Is(state_.CoreName, u"Thoroughbred")) {
        const QStringView stepping = sheet_[Field::SteppingCode];
        Findings& found = sheet_.findings;
        found.revisionField = Field::Core;
        found.revision = Refine(kThoroughbredRevisions, Right(stepping, 1), state_.CoreName);
        found.grade = Refine(kThoroughbredGrades, Left(stepping, 1), state_.CoreName);
    }
    SetValue(Field::Core, state_.CoreName);
    return true;
}

// ---- Date and batch -------------------------------------------------------------------

bool DecodeEngine::DecodeDateAndBatch() {
    ReadDateCode(1);
    return true;
}

void DecodeEngine::ReadDateCode(std::int16_t boxIndex) {
    const QString& t = sheet_.codes[static_cast<std::size_t>(boxIndex)];
    const QStringView d = Mid(t, state_.SteppingLength + 1, 4);
    if (IsNumeric(d)) {
        state_.DateCode = d.toString();
        SetValue(Field::ManufactureYear, Concat({u"Year 20", Left(state_.DateCode, 2)}));
        SetValue(Field::ManufactureWeek, Concat({u"Week ", Right(state_.DateCode, 2)}));
        // A stop later on clears these again, as it does every number.
        const std::optional<int> year = TwoDigits(Left(state_.DateCode, 2));
        const std::optional<int> week = TwoDigits(Right(state_.DateCode, 2));
        sheet_.numbers.Set(Quantity::Year, year ? Whole(2000 + *year) : std::nullopt);
        sheet_.numbers.Set(Quantity::Week, week ? Whole(*week) : std::nullopt);
    } else {
        SetValue(Field::ManufactureYear, u"?", false);
        SetValue(Field::ManufactureWeek, u"?", false);
    }
}

bool DecodeEngine::ReadBatchCodes() {
    return ReadBatchNumber() && ReadBatchLetter();
}

// The batch production number: the last four digits of Code Three.
bool DecodeEngine::ReadBatchNumber() {
    const std::int16_t model = state_.CpuModel;
    if (model == 8 || model == 10) {
        const QStringView number = Right(sheet_.codes[2], 4);
        if (!IsNumeric(number)) {
            ClearLbl();
            Stop(StopReason::UnreadableValue, 2);
            Show({QStringLiteral("Error: Unable to read correct value in textbox two.\r\n"
                                 "\r\n"
                                 "Try switching Codes 2 and 3 around."),
                  MessageIcon::Exclamation, MessageButtons::Ok, ApplicationTitle()});
            return false;
        }
        SetValue(Field::BatchProductionNumber, number);
    } else if (model == 3 || model == 4 || model == 6 || model == 7) {
        SetValue(Field::BatchProductionNumber, QStringLiteral("N/A"));
    }
    return true;
}

// The production batch letter, from the end of Code Two.
bool DecodeEngine::ReadBatchLetter() {
    const QString& code2 = sheet_.codes[1];
    const std::int16_t model = state_.CpuModel;
    const bool isDuron = Is(state_.FamilyName, u"AMD Duron");
    if ((model == 8 && !isDuron) || model == 10) {
        const QStringView tail = Right(code2, 4);
        if (IsNumeric(tail)) {
            // Code Two ends in what should be Code Three's number.
            Stop(StopReason::UnreadableValue, 3);
            Show({QStringLiteral("Error: Unable to read correct value in textbox three."),
                  MessageIcon::None, MessageButtons::Ok, ApplicationTitle()});
            return false;
        }
        const QStringView batch = Mid(tail, 3, 1);
        if (!IsNumeric(batch)) {
            SetValue(Field::ProductionBatch, batch);
        }
    } else if (isDuron || model == 4 || model == 6 || model == 7) {
        SetValue(Field::ProductionBatch, Right(code2, 1));
    }
    return true;
}

// ---- Clock and multiplier ---------------------------------------------------------------

void DecodeEngine::ComputeMultiplierFromClock(int busMhz) {
    if (state_.ClockMhz <= 0 || busMhz <= 0) {
        return;  // no clock, or no bus letter to divide by: the multiplier stays unknown
    }
    const double quotient = state_.ClockMhz / (busMhz / 2.0);
    state_.Multiplier = FormatFixed(quotient, 1).View().toFloat();
}

bool DecodeEngine::ComputeClock() {
    if (state_.CpuGeneration == 1 && !ComputeK7Clock()) {
        return false;
    }
    if (state_.CpuGeneration == 2) {
        LookUpK8Clock(kK8ClockBranches);
        if (Is(state_.CoreName, u"SledgeHammer")) {
            LookUpK8Clock(kSledgeHammerClockBranches);
        }
    }
    const ShortText unknown(u"Unknown Processor");
    const DecodeState& s = state_;
    SetValue(Field::WorkingFrequency, s.ClockMhz == 0 ? unknown : FormatInteger(s.ClockMhz, u"MHz"),
             s.ClockMhz != 0);
    SetValue(Field::Multiplier, s.Multiplier == 0.0f ? unknown : FormatFixed(s.Multiplier, 1, u"x"),
             s.Multiplier != 0.0f);
    SetValue(Field::FsbFrequency, s.FsbMhz == 0 ? unknown : FormatInteger(s.FsbMhz, u"MHz"),
             s.FsbMhz != 0);
    sheet_.numbers.Set(Quantity::ClockMhz, Whole(s.ClockMhz));
    sheet_.numbers.Set(Quantity::Multiplier, Decimal(s.Multiplier, 1));
    sheet_.numbers.Set(Quantity::FsbMhz, Whole(s.FsbMhz));
    return true;
}

bool DecodeEngine::ComputeK7Clock() {
    DecodeState& s = state_;
    if (Contains(kClockInCodeModels, s.CpuModel)) {
        // Every bus clock a letter gives is three digits long, so the clock's
        // bus is the bus clock itself.
        ComputeMultiplierFromClock(s.FsbMhz);
        return true;
    }
    if (!Contains(kRatedModels, s.CpuModel) || s.ModelNumber <= 0) {
        return true;
    }
    const K7ClockBranch* branch = FindK7ClockBranch();
    if (branch == nullptr) {
        return true;
    }
    if (branch->column == kMultiplierFromClock) {
        ComputeMultiplierFromClock(s.FsbMhz);
        return true;
    }
    const ClockCell cell = K7ClockCell(branch->column);
    if (branch->unlistedIsUnsupported && cell.mhz == 0) {
        const ShortText number = FormatInteger(s.ModelNumber);
        ClearLbl();
        Stop(StopReason::UnsupportedChip, 1);
        ShowUnsupportedChip(prompter_, Concat({u"Athlon XP-M ", number}).ToQString());
        return false;
    }
    s.ClockMhz = cell.mhz;
    s.Multiplier = cell.multiplier;
    return true;
}

const K7ClockBranch* DecodeEngine::FindK7ClockBranch() const {
    const DecodeState& s = state_;
    for (const K7ClockBranch& branch : kK7ClockBranches) {
        const bool core = branch.test == NameTest::Is ? Is(s.CoreName, branch.core)
                                                      : BeginsWith(s.CoreName, branch.core);
        const bool bus = branch.fsbMhz == kAny || branch.fsbMhz == s.FsbMhz;
        const bool prefix =
            branch.prefixes[0].empty() || std::ranges::any_of(branch.prefixes, [&s](Text p) {
                return !p.empty() && Is(s.FamilyPrefix, p);
            });
        if (core && bus && prefix) {
            return &branch;
        }
    }
    return nullptr;
}

ClockCell DecodeEngine::K7ClockCell(int column) const {
    const DecodeState& s = state_;
    for (const K7ClockException& exception : kK7ClockExceptions) {
        if (exception.column == column && exception.rating == s.ModelNumber &&
            Is(s.FamilyPrefix, exception.prefix)) {
            return exception.cell;
        }
    }
    for (const K7ClockRow& row : kK7ClockTable) {
        if (row.rating == s.ModelNumber) {
            return row.columns[static_cast<std::size_t>(column - 1)];
        }
    }
    return kNoCell;
}

void DecodeEngine::LookUpK8Clock(std::span<const K8ClockBranch> branches) {
    DecodeState& s = state_;
    for (const K8ClockBranch& branch : branches) {
        if (!K8BranchHolds(branch, s)) {
            continue;
        }
        if (!branch.renamesFamily.empty()) {
            s.FamilyName = ToQString(branch.renamesFamily);
            sheet_.findings.family = branch.renamesFamily;
        }
        for (const K8RowsByCache& byCache : branch.rows) {
            if (!byCache.rows.empty() &&
                (byCache.l2CacheKb == kAny || byCache.l2CacheKb == s.L2CacheKb)) {
                ApplyK8Row(FindK8Row(byCache.rows, K8KeyOf(branch.key, s.ModelNumber)));
                break;
            }
        }
        return;  // the first branch that holds decides
    }
}

void DecodeEngine::ApplyK8Row(const K8ClockRow* row) {
    if (row != nullptr) {
        state_.ClockMhz = row->mhz;
        state_.Multiplier = row->multiplier;
        state_.FsbMhz = row->fsbMhz;
    }
}

bool DecodeEngine::ProceedToResults() {
    return true;
}

// ---- Results ----------------------------------------------------------------------------

void DecodeEngine::ShowCpuModel() {
    const DecodeState& s = state_;
    Findings& found = sheet_.findings;
    found.cpuModel = s.CpuModel;
    const bool read = s.CpuModel != 0;
    if (s.CpuGeneration != 2) {
        SetValue(Field::CpuModel, FormatHex(s.CpuModel), read);
        return;
    }
    // A K8 shows its core revision beside the model, "??" when the code gave none.
    found.revisionField = Field::CpuModel;
    if (s.Amd64Revision.size() == 2) {
        SetValue(Field::CpuModel, FormatHex(s.CpuModel, Concat({u" (", s.Amd64Revision, u")"})),
                 read);
    } else {
        SetValue(Field::CpuModel, FormatHex(s.CpuModel, u" (?\?)"), read);
    }
}

bool DecodeEngine::ShowResults() {
    const DecodeState& s = state_;
    sheet_.caption = s.FamilyName;
    SetValue(Field::Core, s.CoreName);
    ShowCpuModel();

    // A voltage or temperature that varies, or a letter no table knows
    // (0.00v, 0°C), is a value the rules did not read.
    const ShortText variable(u"(Variable)");
    SetValue(Field::OperatingVoltage,
             s.CoreVoltage == -1.0f ? variable : FormatFixed(s.CoreVoltage, 2, u"v"),
             s.CoreVoltage != -1.0f && s.CoreVoltage != 0.0f);
    SetValue(Field::MaxOperatingTemperature,
             s.MaxTemperature == -1.0f ? variable : FormatSingle(s.MaxTemperature, u"\u00b0C"),
             s.MaxTemperature != -1.0f && s.MaxTemperature != 0.0f);
    SetValue(Field::L1Cache, FormatInteger(s.L1CacheKb, u"KB"));
    SetValue(Field::L2Cache, FormatInteger(s.L2CacheKb, u"KB"));
    SetValue(Field::ProcessTechnology, FormatSingle(s.ProcessTechnology, u"u"));
    SetValue(Field::EstimatedThermalPower, u"(Currently Disabled)", false);

    for (ShortText& value : sheet_.values) {
        if (value.isEmpty()) {
            value = ShortText(u"(Unknown)");
        }
    }
    ReadResultNumbers(s, sheet_);
    sheet_.completed = true;
    lastRunCompleted_ = true;
    return true;
}

}  // namespace varnel
