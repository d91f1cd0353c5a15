#include "catalogue/comparison.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <optional>

#include "catalogue/catalogue.h"
#include "catalogue/verdict.h"
#include "decode/captions.h"
#include "decode/text.h"

namespace varnel::catalogue {

namespace {

using tables::Text;

// Allowed slack: the decode's K7 clocks are rounded to whole MHz.
constexpr double kClockTolerance = 0.005;  // of the clock
constexpr double kMultiplierTolerance = 0.05;
constexpr double kVoltageTolerance = 0.005;
constexpr double kWholeTolerance = 0.5;  // MHz of a bus, KB, °C, nm

QStringView View(Text text) {
    return QStringView(text.data(), static_cast<qsizetype>(text.size()));
}

// A fact the catalogue may know against one the rules may have read.
Agreement Judge(bool listed, bool read, bool same) {
    if (!listed) {
        return Agreement::NotCompared;
    }
    if (!read) {
        return Agreement::NotRead;
    }
    return same ? Agreement::Agrees : Agreement::Differs;
}

Agreement JudgeRange(std::optional<double> low, std::optional<double> high,
                     std::optional<double> decoded, double tolerance) {
    const bool inside =
        decoded && low && high && *decoded >= *low - tolerance && *decoded <= *high + tolerance;
    return Judge(low && high, decoded.has_value(), inside);
}

Agreement JudgeNumber(std::optional<double> listed, std::optional<double> decoded,
                      double tolerance) {
    return JudgeRange(listed, listed, decoded, tolerance);
}

// A number of the sheet that the rules read for a field; none otherwise.
std::optional<double> ReadNumber(const Sheet& sheet, Field field, Quantity quantity) {
    return sheet.findings.Read(field) ? sheet.numbers[quantity] : std::nullopt;
}

// Letters equal but for the case of ASCII letters, the only case the names
// of families, cores, revisions, sockets and packages have.
constexpr char16_t FoldAscii(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - (u'a' - u'A')) : c;
}

bool SameLetters(QStringView a, QStringView b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i].unicode()) != FoldAscii(b[i].unicode())) {
            return false;
        }
    }
    return true;
}

// Whether two lists of alternatives ("Pluto/Orion", "Thoroughbred/Thorton")
// share a name, ignoring case; `trim` cuts each name down first.
template <typename Trim>
bool ShareAlternative(QStringView listed, QStringView decoded, Trim trim) {
    for (QStringView a : listed.tokenize(u'/', Qt::SkipEmptyParts)) {
        for (QStringView b : decoded.tokenize(u'/', Qt::SkipEmptyParts)) {
            if (SameLetters(trim(a), trim(b))) {
                return true;
            }
        }
    }
    return false;
}

QStringView Trimmed(QStringView name) {
    return name.trimmed();
}

// "SH-E4" names revision E4 of the SH core; the decode gives E4 alone.
QStringView RevisionOnly(QStringView revision) {
    return revision.mid(revision.lastIndexOf(u'-') + 1).trimmed();
}

// The words of a family's name but AMD, at most a handful, in the order of
// their folded letters.
struct FamilyWords {
    static constexpr std::size_t kMost = 8;
    std::array<QStringView, kMost> words{};
    std::size_t count = 0;
    bool tooMany = false;
};

bool FoldedLess(QStringView a, QStringView b) {
    for (qsizetype i = 0; i < a.size() && i < b.size(); ++i) {
        const char16_t x = FoldAscii(a[i].unicode());
        const char16_t y = FoldAscii(b[i].unicode());
        if (x != y) {
            return x < y;
        }
    }
    return a.size() < b.size();
}

FamilyWords WordsOf(QStringView name) {
    FamilyWords found;
    for (QStringView word : name.tokenize(u' ', Qt::SkipEmptyParts)) {
        if (SameLetters(word, u"AMD")) {
            continue;
        }
        if (found.count == FamilyWords::kMost) {
            found.tooMany = true;
            break;
        }
        found.words[found.count++] = word;
    }
    std::sort(found.words.begin(), found.words.begin() + static_cast<std::ptrdiff_t>(found.count),
              FoldedLess);
    return found;
}

// The same family in any word order, with or without AMD in front: "AMD
// Athlon 64 Mobile" is the catalogue's "Mobile Athlon 64".
bool SameFamily(QStringView a, QStringView b) {
    const FamilyWords x = WordsOf(a);
    const FamilyWords y = WordsOf(b);
    if (x.tooMany || y.tooMany || x.count != y.count) {
        return false;
    }
    for (std::size_t i = 0; i < x.count; ++i) {
        if (!SameLetters(x.words[i], y.words[i])) {
            return false;
        }
    }
    return true;
}

// The CPU model of a CPUID (the extended model and model nibbles: 20F71
// gives 27, 6A0 gives A); none when a nibble is unknown.
std::optional<int> HexDigit(QChar c) {
    const char16_t u = FoldAscii(c.unicode());
    if (u >= u'0' && u <= u'9') {
        return u - u'0';
    }
    if (u >= u'A' && u <= u'F') {
        return u - u'A' + 10;
    }
    return std::nullopt;
}

std::optional<int> ModelOfCpuid(QStringView cpuid) {
    const qsizetype n = cpuid.size();
    if (n < 3) {
        return std::nullopt;
    }
    const std::optional<int> model = HexDigit(cpuid[n - 2]);
    if (!model || n < 5) {
        return model;
    }
    const std::optional<int> extended = HexDigit(cpuid[n - 5]);
    return extended ? std::optional<int>(*extended * 16 + *model) : std::nullopt;
}

bool ListsModel(QStringView cpuid, int model) {
    for (QStringView each : cpuid.tokenize(u'/', Qt::SkipEmptyParts)) {
        if (ModelOfCpuid(each) == model) {
            return true;
        }
    }
    return false;
}

bool ListsAnyModel(QStringView cpuid) {
    for (QStringView each : cpuid.tokenize(u'/', Qt::SkipEmptyParts)) {
        if (ModelOfCpuid(each)) {
            return true;
        }
    }
    return false;
}

// ---- The checks, one per fact --------------------------------------------------

Agreement FamilyCheck(const Part& part, const Sheet& sheet) {
    const Text family = sheet.findings.family;
    return Judge(!part.family.isEmpty(), !family.empty(), SameFamily(part.family, View(family)));
}

Agreement CoreCheck(const Part& part, const Sheet& sheet) {
    const Text core = sheet.findings.core;
    return Judge(!part.core.isEmpty(), !core.empty(),
                 ShareAlternative(part.core, View(core), Trimmed));
}

// Only where the marking carries a revision: a K8's revision code, a
// Thoroughbred's stepping letter.
Agreement RevisionCheck(const Part& part, const Sheet& sheet) {
    const Findings& found = sheet.findings;
    if (!found.revisionField) {
        return Agreement::NotCompared;
    }
    return Judge(!part.revision.isEmpty(), !found.revision.empty(),
                 ShareAlternative(part.revision, View(found.revision), RevisionOnly));
}

Agreement CpuModelCheck(const Part& part, const Sheet& sheet) {
    const int model = sheet.findings.cpuModel;
    return Judge(ListsAnyModel(part.cpuid), model != 0, ListsModel(part.cpuid, model));
}

Agreement ClockCheck(const Part& part, const Sheet& sheet) {
    return JudgeNumber(part.clockMhz,
                       ReadNumber(sheet, Field::WorkingFrequency, Quantity::ClockMhz),
                       part.clockMhz.value_or(0) * kClockTolerance);
}

Agreement MultiplierCheck(const Part& part, const Sheet& sheet) {
    return JudgeNumber(part.multiplier, ReadNumber(sheet, Field::Multiplier, Quantity::Multiplier),
                       kMultiplierTolerance);
}

// The K8 decode shows a 200 or 400 MHz reference beside a HyperTransport
// link of 800 or 1000 MHz: two different buses, so only a front-side bus is
// held against the decode.
Agreement BusCheck(const Part& part, const Sheet& sheet) {
    if (part.busKind != BusKind::FrontSide) {
        return Agreement::NotCompared;
    }
    return JudgeNumber(part.busSpeed, ReadNumber(sheet, Field::FsbFrequency, Quantity::FsbMhz),
                       kWholeTolerance);
}

// The catalogue's L2 is the total over all cores, as the cache digit is.
Agreement L2CacheCheck(const Part& part, const Sheet& sheet) {
    return JudgeNumber(part.l2Kb, ReadNumber(sheet, Field::L2Cache, Quantity::L2Kb),
                       kWholeTolerance);
}

Agreement CoresCheck(const Part& part, const Sheet& sheet) {
    const int cores = sheet.findings.cores;
    return Judge(part.cores.has_value(), cores != 0, part.cores == cores);
}

// A decoded voltage agrees when it lies within the catalogue's range.
Agreement VoltageCheck(const Part& part, const Sheet& sheet) {
    return JudgeRange(part.voltageLow, part.voltageHigh,
                      ReadNumber(sheet, Field::OperatingVoltage, Quantity::VoltageV),
                      kVoltageTolerance);
}

Agreement TemperatureCheck(const Part& part, const Sheet& sheet) {
    return JudgeNumber(part.maxTempC,
                       ReadNumber(sheet, Field::MaxOperatingTemperature, Quantity::MaxTempC),
                       kWholeTolerance);
}

// A K7 package letter names no socket; a K8 one does by its pin count.
Agreement SocketCheck(const Part& part, const Sheet& sheet) {
    const tables::PackageRow* row = sheet.findings.package;
    if (row != nullptr && row->socket.empty()) {
        return Agreement::NotCompared;
    }
    return Judge(!part.socket.isEmpty(), row != nullptr,
                 row != nullptr && SameLetters(part.socket, View(row->socket)));
}

Agreement PackageNameCheck(const Part& part, const Sheet& sheet) {
    const tables::PackageRow* row = sheet.findings.package;
    if (row != nullptr && row->package.empty()) {
        return Agreement::NotCompared;
    }
    return Judge(!part.package.isEmpty(), row != nullptr,
                 row != nullptr && SameLetters(part.package, View(row->package)));
}

Agreement PackageCheck(const Part& part, const Sheet& sheet) {
    return std::max(SocketCheck(part, sheet), PackageNameCheck(part, sheet));
}

// The decode gives the process in micrometres ("0.13u"), the catalogue in nm.
std::optional<double> DecodedNanometres(const Sheet& sheet) {
    const std::optional<double> microns =
        ReadNumber(sheet, Field::ProcessTechnology, Quantity::ProcessUm);
    return microns ? std::optional<double>(std::round(*microns * 1000)) : std::nullopt;
}

Agreement ProcessCheck(const Part& part, const Sheet& sheet) {
    return JudgeNumber(part.processNm, DecodedNanometres(sheet), kWholeTolerance);
}

using Check = Agreement (*)(const Part&, const Sheet&);

// The check behind each catalogue fact a result field is held against.
constexpr std::array<Check, 11> kChecks{
    nullptr,           // None
    CoreCheck,         // Core
    CpuModelCheck,     // CpuModel
    ClockCheck,        // Clock
    PackageCheck,      // Package
    VoltageCheck,      // Voltage
    TemperatureCheck,  // MaxTemperature
    L2CacheCheck,      // L2Cache
    MultiplierCheck,   // Multiplier
    BusCheck,          // Bus
    ProcessCheck,      // Process
};
static_assert(static_cast<std::size_t>(CatalogueFact::Process) + 1 == kChecks.size());

Agreement CheckOf(CatalogueFact fact, const Part& part, const Sheet& sheet) {
    const Check check = kChecks[static_cast<std::size_t>(fact)];
    return check != nullptr ? check(part, sheet) : Agreement::NotCompared;
}

}  // namespace

Comparison Compare(const Part& part, const Sheet& sheet) {
    Comparison comparison;
    comparison.part = &part;
    comparison.decodeCompleted = sheet.completed;
    if (!sheet.completed) {
        return comparison;  // a stopped run's values belong to no chip
    }
    for (const FieldInfo& info : kFields) {
        comparison.fields[Index(info.field)] = CheckOf(info.heldAgainst, part, sheet);
    }
    if (const std::optional<Field> field = sheet.findings.revisionField) {
        Agreement& shown = comparison.fields[Index(*field)];
        shown = std::max(shown, RevisionCheck(part, sheet));
    }
    comparison.family = FamilyCheck(part, sheet);
    comparison.cores = CoresCheck(part, sheet);
    return comparison;
}

std::vector<std::u16string_view> NamesThat(const Comparison& comparison, Agreement agreement) {
    std::vector<std::u16string_view> names;
    VisitNames(comparison, agreement,
               [&names](std::u16string_view name) { names.push_back(name); });
    return names;
}

Comparer::Comparer(const Catalogue& catalogue) : catalogue_(catalogue) {}

Comparison Comparer::Compare(const Sheet& sheet) {
    const Listing& listing = Find(sheet.codes[0]);
    if (listing.part != nullptr) {
        return catalogue::Compare(*listing.part, sheet);
    }
    Comparison comparison;
    comparison.decodeCompleted = sheet.completed;
    comparison.nearOpns = listing.nearOpns;
    return comparison;
}

const Comparer::Listing& Comparer::Find(const QString& codeOne) {
    // Bounded: a batch of a million typos keeps no more than this.
    constexpr qsizetype kMaxCodes = 4096;
    auto found = listings_.constFind(codeOne);
    if (found != listings_.constEnd()) {
        return *found;
    }
    if (listings_.size() >= kMaxCodes) {
        listings_.clear();
    }
    Listing listing{catalogue_.Lookup(codeOne), {}};
    if (listing.part == nullptr) {
        listing.nearOpns = catalogue_.NearOpns(codeOne);
    }
    return *listings_.insert(codeOne, std::move(listing));
}

// ---- The side-by-side rows -------------------------------------------------------

namespace {

QString WithUnit(const std::optional<double>& value, QStringView unit) {
    return value ? FormatNumber(*value).append(unit) : QString();
}

QString JoinPresent(std::initializer_list<QString> pieces) {
    QStringList present;
    for (const QString& piece : pieces) {
        if (!piece.isEmpty()) {
            present.append(piece);
        }
    }
    return present.join(QStringLiteral(", "));
}

QString ShownValue(const Sheet& sheet, Field field) {
    return sheet[field].ToQString();
}

// The value of a field as the sheet shows it, when the rules read it.
QString ReadValue(const Sheet& sheet, Field field) {
    return sheet.findings.Read(field) ? sheet[field].ToQString() : QString();
}

QString ListedModels(const QString& cpuid) {
    QStringList models;
    for (QStringView each : QStringView(cpuid).tokenize(u'/', Qt::SkipEmptyParts)) {
        if (const std::optional<int> model = ModelOfCpuid(each)) {
            const QString hex = FormatHex(*model).ToQString();
            if (!models.contains(hex)) {
                models.append(hex);
            }
        }
    }
    return models.isEmpty() ? cpuid : cpuid + QStringLiteral(" (model ") + models.join(u'/') + u')';
}

FactRow CpuidRow(const Part& part, const Sheet& sheet) {
    const int model = sheet.findings.cpuModel;
    return {QStringLiteral("CPUID"), QStringLiteral("CPUID"), ListedModels(part.cpuid),
            model != 0 ? QStringLiteral("model ") + FormatHex(model).ToQString() : QString(),
            CpuModelCheck(part, sheet)};
}

FactRow ClockRow(const Part& part, const Sheet& sheet) {
    const QString multiplier =
        part.multiplier ? FormatFixed(*part.multiplier, 1, u"x").ToQString() : QString();
    return {
        QStringLiteral("Clock (multiplier × bus)"), QStringLiteral("clock"),
        JoinPresent({WithUnit(part.clockMhz, u"MHz"), multiplier, part.bus}),
        JoinPresent({ReadValue(sheet, Field::WorkingFrequency), ReadValue(sheet, Field::Multiplier),
                     ReadValue(sheet, Field::FsbFrequency)}),
        std::max({ClockCheck(part, sheet), MultiplierCheck(part, sheet), BusCheck(part, sheet)})};
}

QString Shown(Text text) {
    return View(text).toString();
}

QList<FactRow> RowsOf(const Part& part, const Sheet& sheet) {
    const Findings& found = sheet.findings;
    const tables::PackageRow* package = found.package;
    return {
        {QStringLiteral("Family"), QStringLiteral("family"), part.family, Shown(found.family),
         FamilyCheck(part, sheet)},
        {QStringLiteral("Core"), QStringLiteral("core"), part.core, ShownValue(sheet, Field::Core),
         CoreCheck(part, sheet)},
        {QStringLiteral("Revision"), QStringLiteral("revision"), part.revision,
         Shown(found.revision), RevisionCheck(part, sheet)},
        CpuidRow(part, sheet),
        ClockRow(part, sheet),
        {QStringLiteral("L2 cache"), QStringLiteral("L2 cache"), WithUnit(part.l2Kb, u"KB"),
         ShownValue(sheet, Field::L2Cache), L2CacheCheck(part, sheet)},
        {QStringLiteral("Cores"), QStringLiteral("core count"), WithUnit(part.cores, u""),
         found.cores != 0 ? QString::number(found.cores) : QString(), CoresCheck(part, sheet)},
        {QStringLiteral("Voltage"), QStringLiteral("voltage"),
         part.voltage.isEmpty() ? QString() : part.voltage + u'v',
         ShownValue(sheet, Field::OperatingVoltage), VoltageCheck(part, sheet)},
        {QStringLiteral("Maximum temperature"), QStringLiteral("maximum temperature"),
         WithUnit(part.maxTempC, u"°C"), ShownValue(sheet, Field::MaxOperatingTemperature),
         TemperatureCheck(part, sheet)},
        {QStringLiteral("TDP"), QStringLiteral("TDP"), WithUnit(part.tdpW, u"W"),
         ShownValue(sheet, Field::EstimatedThermalPower), Agreement::NotCompared},
        {QStringLiteral("Socket"), QStringLiteral("socket"), part.socket,
         package ? Shown(package->socket) : QString(), SocketCheck(part, sheet)},
        {QStringLiteral("Package"), QStringLiteral("package"), InSheetWords(part.package),
         ShownValue(sheet, Field::PackageType), PackageNameCheck(part, sheet)},
        {QStringLiteral("Process"), QStringLiteral("process"), WithUnit(part.processNm, u"nm"),
         ShownValue(sheet, Field::ProcessTechnology), ProcessCheck(part, sheet)},
    };
}

}  // namespace

QList<FactRow> FactRows(const Part& part, const Sheet& sheet) {
    QList<FactRow> rows = RowsOf(part, sheet);
    if (!sheet.completed) {
        // A stopped run decoded nothing to set beside the catalogue.
        for (FactRow& row : rows) {
            row.decodedText.clear();
            row.agreement = Agreement::NotCompared;
        }
    }
    return rows;
}

}  // namespace varnel::catalogue
