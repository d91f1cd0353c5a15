#include "catalogue/comparison.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <string_view>

#include "decode/captions.h"
#include "decode/text.h"

namespace varnel::catalogue {

namespace {

// The result slots the facts are read from.
enum Slot {
    kCore = 0,
    kCpuModel = 1,
    kFrequency = 3,
    kPackage = 4,
    kVoltage = 5,
    kTemperature = 6,
    kL2Cache = 8,
    kMultiplier = 9,
    kBus = 10,
    kProcess = 17,
    kThermalPower = 18,
};

// Texts with which the decode says it found nothing.
constexpr std::array<std::u16string_view, 3> kNotFound{u"", u"(Unknown)", u"Unknown Processor"};

// The decode's package texts and what they say in the catalogue's words.
struct DecodedPackage {
    std::u16string_view text;
    std::u16string_view socket;   // empty: the text names no socket
    std::u16string_view package;  // empty: not comparable with the catalogue
};
constexpr std::array<DecodedPackage, 8> kDecodedPackages{{
    // K8: the pin count names the socket; the lid tells the packages apart.
    {u"754 pin Lidded OµPGA", u"Socket 754", u"lidded OuPGA"},
    {u"754 pin Lidless OµPGA", u"Socket 754", u"lidless OuPGA"},
    {u"939 pin Lidded OµPGA", u"Socket 939", u"lidded OuPGA"},
    // The 940-pin parts came on ceramic and later on organic carriers, and the
    // catalogue does not source the carrier per part: only the socket counts.
    {u"940 pin Lidded CµPGA", u"Socket 940", u""},
    // K7: the package letter names no socket.
    {u"CPGA", u"", u"CPGA"},
    {u"OBGA", u"", u"OBGA"},
    {u"OPGA", u"", u"OPGA"},
    {u"uPGA", u"", u"uPGA"},
}};

// Refinements the decode appends to a Thoroughbred: the grade, then the
// silicon revision letter.
constexpr std::array<std::u16string_view, 2> kGradeSuffixes{u" High end", u" Low end"};
constexpr std::array<std::u16string_view, 2> kRevisionSuffixes{u" A", u" B"};

// Allowed slack: the decode's K7 clocks are rounded to whole MHz.
constexpr double kClockTolerance = 0.005;  // of the clock
constexpr double kMultiplierTolerance = 0.05;
constexpr double kVoltageTolerance = 0.005;
constexpr double kWholeTolerance = 0.5;  // MHz of a bus, KB, °C, W, nm

QStringView View(std::u16string_view text) {
    return QStringView(text.data(), static_cast<qsizetype>(text.size()));
}

QString Caption(int slot) {
    return View(kResultCaptions.at(static_cast<std::size_t>(slot))).toString();
}

bool IsFound(const QString& text) {
    return std::none_of(kNotFound.begin(), kNotFound.end(),
                        [&](std::u16string_view none) { return text == View(none); });
}

// The number a result text opens with ("1833MHz", "0.13u", "1.65v", "85°C");
// none for a text without one and for zero, the reading of a value never found.
std::optional<double> DecodedNumber(const QString& text) {
    qsizetype end = 0;
    while (end < text.size() && (IsDecimalDigit(text[end]) || text[end] == u'.')) {
        ++end;
    }
    bool ok = false;
    const double value = QStringView(text).left(end).toDouble(&ok);
    return ok && value != 0 ? std::optional<double>(value) : std::nullopt;
}

Agreement CompareRange(std::optional<double> low, std::optional<double> high,
                       std::optional<double> decoded, double tolerance) {
    if (!low || !high || !decoded) {
        return Agreement::NotCompared;
    }
    const bool inside = *decoded >= *low - tolerance && *decoded <= *high + tolerance;
    return inside ? Agreement::Agrees : Agreement::Differs;
}

Agreement CompareNumber(std::optional<double> listed, std::optional<double> decoded,
                        double tolerance) {
    return CompareRange(listed, listed, decoded, tolerance);
}

Agreement CompareText(const QString& listed, QStringView decoded) {
    if (listed.isEmpty() || decoded.isEmpty()) {
        return Agreement::NotCompared;
    }
    return listed.compare(decoded, Qt::CaseInsensitive) == 0 ? Agreement::Agrees
                                                             : Agreement::Differs;
}

// Whether any of the listed alternatives is one of the decoded ones.
Agreement CompareAlternatives(const QStringList& listed, const QStringList& decoded) {
    if (listed.isEmpty() || decoded.isEmpty()) {
        return Agreement::NotCompared;
    }
    const bool shared = std::any_of(listed.begin(), listed.end(), [&](const QString& name) {
        return decoded.contains(name, Qt::CaseInsensitive);
    });
    return shared ? Agreement::Agrees : Agreement::Differs;
}

// One comparison behind a fact: a result field and how it stands.
struct Check {
    int slot;
    Agreement agreement;
};

FactRow MakeFact(QString label, QString listed, QString decoded,
                 std::initializer_list<Check> checks) {
    FactRow row{
        std::move(label), std::move(listed), std::move(decoded), Agreement::NotCompared, {}};
    for (const Check& check : checks) {
        row.agreement = std::max(row.agreement, check.agreement);
    }
    for (const Check& check : checks) {
        if (row.agreement != Agreement::Differs || check.agreement == Agreement::Differs) {
            row.captions.append(Caption(check.slot));
        }
    }
    return row;
}

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

// The text with the first matching suffix of the table cut off; `cut` tells
// which one.
template <std::size_t N>
QStringView CutSuffix(QStringView text, const std::array<std::u16string_view, N>& suffixes,
                      QStringView* cut = nullptr) {
    for (std::u16string_view suffix : suffixes) {
        if (text.endsWith(View(suffix))) {
            if (cut != nullptr) {
                *cut = View(suffix);
            }
            return text.chopped(static_cast<qsizetype>(suffix.size()));
        }
    }
    return text;
}

// The core names a text allows ("Pluto/Orion", "Thoroughbred/Thorton"),
// without the decode's grade and revision refinements.
QStringList CoreNames(const QString& text) {
    QStringList names;
    for (QStringView name : QStringView(text).split(u'/', Qt::SkipEmptyParts)) {
        names.append(
            CutSuffix(CutSuffix(name, kGradeSuffixes), kRevisionSuffixes).trimmed().toString());
    }
    return names;
}

FactRow CoreFact(const Part& part, const DecodedValues& decoded) {
    const QString& core = decoded[kCore];
    const QStringList names = IsFound(core) ? CoreNames(core) : QStringList();
    return MakeFact(QStringLiteral("Core"), part.core, core,
                    {{kCore, CompareAlternatives(CoreNames(part.core), names)}});
}

// The silicon revision the decode shows: in brackets behind a K8 CPU model
// ("4 (E3)"), or as the letter behind a K7 Thoroughbred core.
struct DecodedRevision {
    QString text;
    int slot = kCpuModel;
};

DecodedRevision ReadDecodedRevision(const DecodedValues& decoded) {
    const QString& model = decoded[kCpuModel];
    const qsizetype open = model.indexOf(u'(');
    const qsizetype close = model.indexOf(u')', open + 1);
    if (open >= 0 && close > open) {
        const QString inner = model.mid(open + 1, close - open - 1);
        return {inner == u"??" ? QString() : inner, kCpuModel};
    }
    QStringView letter;
    CutSuffix(CutSuffix(decoded[kCore], kGradeSuffixes), kRevisionSuffixes, &letter);
    return {letter.trimmed().toString(), kCore};
}

// The catalogue's revisions ("SH-E4", "F2/F3", "A/B") without the core
// prefix: E4, F2, F3, A, B.
QStringList ListedRevisions(const QString& revision) {
    QStringList revisions;
    for (QStringView each : QStringView(revision).split(u'/', Qt::SkipEmptyParts)) {
        revisions.append(each.mid(each.lastIndexOf(u'-') + 1).toString());
    }
    return revisions;
}

FactRow RevisionFact(const Part& part, const DecodedValues& decoded) {
    const DecodedRevision found = ReadDecodedRevision(decoded);
    const QStringList decodedRevisions =
        found.text.isEmpty() ? QStringList() : QStringList{found.text};
    return MakeFact(
        QStringLiteral("Revision"), part.revision, found.text,
        {{found.slot, CompareAlternatives(ListedRevisions(part.revision), decodedRevisions)}});
}

// The CPU model of a CPUID (extended model and model nibbles: 20F71 gives 27,
// 6A0 gives A); empty when a nibble is unknown.
QString ModelOfCpuid(QStringView cpuid) {
    const qsizetype n = cpuid.size();
    QString model = n >= 5 ? cpuid.mid(n - 5, 1).toString() : QString();
    model.append(n >= 3 ? cpuid.mid(n - 2, 1) : QStringView());
    bool ok = false;
    const int value = model.toInt(&ok, 16);
    return ok ? FormatHex(value).ToQString() : QString();
}

QStringList ListedModels(const QString& cpuid) {
    QStringList models;
    for (QStringView each : QStringView(cpuid).split(u'/', Qt::SkipEmptyParts)) {
        const QString model = ModelOfCpuid(each);
        if (!model.isEmpty() && !models.contains(model)) {
            models.append(model);
        }
    }
    return models;
}

// The decoded CPU model in hexadecimal ("4" of "4 (E3)"); empty for 0, the
// model of a core the decode did not know.
QString DecodedModel(const QString& text) {
    bool ok = false;
    const int value = QStringView(text).left(text.indexOf(u' ')).toInt(&ok, 16);
    return ok && value != 0 ? FormatHex(value).ToQString() : QString();
}

FactRow CpuidFact(const Part& part, const DecodedValues& decoded) {
    const QStringList models = ListedModels(part.cpuid);
    const QString listed = models.isEmpty() ? part.cpuid
                                            : part.cpuid + QStringLiteral(" (model ") +
                                                  models.join(u'/') + QLatin1Char(')');
    const QString model = DecodedModel(decoded[kCpuModel]);
    const QStringList decodedModels = model.isEmpty() ? QStringList() : QStringList{model};
    return MakeFact(QStringLiteral("CPUID"), listed,
                    model.isEmpty() ? QString() : QStringLiteral("model ") + model,
                    {{kCpuModel, CompareAlternatives(models, decodedModels)}});
}

// The decoded text when it holds a value, else nothing.
QString FoundNumberText(const QString& text) {
    return DecodedNumber(text) ? text : QString();
}

// The K8 decode shows a 200 or 400 MHz reference beside a HyperTransport
// link of 800 or 1000 MHz: two different buses, so only a front-side bus is
// held against the decode.
FactRow ClockFact(const Part& part, const DecodedValues& decoded) {
    const QString multiplier =
        part.multiplier ? FormatFixed(*part.multiplier, 1, u"x").ToQString() : QString();
    const QString listed = JoinPresent({WithUnit(part.clockMhz, u"MHz"), multiplier, part.bus});
    const QString shown =
        JoinPresent({FoundNumberText(decoded[kFrequency]), FoundNumberText(decoded[kMultiplier]),
                     FoundNumberText(decoded[kBus])});
    const double clockSlack = part.clockMhz.value_or(0) * kClockTolerance;
    const bool frontSide = part.busKind == BusKind::FrontSide;
    return MakeFact(
        QStringLiteral("Clock (multiplier × bus)"), listed, shown,
        {{kFrequency, CompareNumber(part.clockMhz, DecodedNumber(decoded[kFrequency]), clockSlack)},
         {kMultiplier, CompareNumber(part.multiplier, DecodedNumber(decoded[kMultiplier]),
                                     kMultiplierTolerance)},
         {kBus, frontSide
                    ? CompareNumber(part.busSpeed, DecodedNumber(decoded[kBus]), kWholeTolerance)
                    : Agreement::NotCompared}});
}

// The catalogue's L2 is the total over all cores, as the cache digit is.
FactRow CacheFact(const Part& part, const DecodedValues& decoded) {
    const QString cores =
        part.cores ? FormatNumber(*part.cores) +
                         (*part.cores == 1 ? QStringLiteral(" core") : QStringLiteral(" cores"))
                   : QString();
    return MakeFact(
        QStringLiteral("L2 cache and cores"), JoinPresent({WithUnit(part.l2Kb, u"KB"), cores}),
        decoded[kL2Cache],
        {{kL2Cache, CompareNumber(part.l2Kb, DecodedNumber(decoded[kL2Cache]), kWholeTolerance)}});
}

// A decoded voltage agrees when it lies within the catalogue's range.
FactRow VoltageFact(const Part& part, const DecodedValues& decoded) {
    const QString listed = part.voltage.isEmpty() ? QString() : part.voltage + QLatin1Char('v');
    return MakeFact(
        QStringLiteral("Voltage"), listed, decoded[kVoltage],
        {{kVoltage, CompareRange(part.voltageLow, part.voltageHigh,
                                 DecodedNumber(decoded[kVoltage]), kVoltageTolerance)}});
}

FactRow TemperatureFact(const Part& part, const DecodedValues& decoded) {
    return MakeFact(
        QStringLiteral("Maximum temperature"), WithUnit(part.maxTempC, u"°C"),
        decoded[kTemperature],
        {{kTemperature,
          CompareNumber(part.maxTempC, DecodedNumber(decoded[kTemperature]), kWholeTolerance)}});
}

FactRow TdpFact(const Part& part, const DecodedValues& decoded) {
    return MakeFact(QStringLiteral("TDP"), WithUnit(part.tdpW, u"W"), decoded[kThermalPower],
                    {{kThermalPower, CompareNumber(part.tdpW, DecodedNumber(decoded[kThermalPower]),
                                                   kWholeTolerance)}});
}

const DecodedPackage* FindDecodedPackage(const QString& text) {
    const auto found =
        std::find_if(kDecodedPackages.begin(), kDecodedPackages.end(),
                     [&](const DecodedPackage& entry) { return text == View(entry.text); });
    return found == kDecodedPackages.end() ? nullptr : &*found;
}

FactRow SocketFact(const Part& part, const DecodedValues& decoded) {
    const DecodedPackage* package = FindDecodedPackage(decoded[kPackage]);
    const QStringView socket = package != nullptr ? View(package->socket) : QStringView();
    return MakeFact(QStringLiteral("Socket"), part.socket, socket.toString(),
                    {{kPackage, CompareText(part.socket, socket)}});
}

FactRow PackageFact(const Part& part, const DecodedValues& decoded) {
    const DecodedPackage* package = FindDecodedPackage(decoded[kPackage]);
    const QStringView name = package != nullptr ? View(package->package) : QStringView();
    return MakeFact(QStringLiteral("Package"), part.package, decoded[kPackage],
                    {{kPackage, CompareText(part.package, name)}});
}

// The decode gives the process in micrometres ("0.13u"), the catalogue in nm.
FactRow ProcessFact(const Part& part, const DecodedValues& decoded) {
    const std::optional<double> microns = DecodedNumber(decoded[kProcess]);
    const std::optional<double> nm =
        microns ? std::optional<double>(std::round(*microns * 1000)) : std::nullopt;
    return MakeFact(QStringLiteral("Process"), WithUnit(part.processNm, u"nm"), decoded[kProcess],
                    {{kProcess, CompareNumber(part.processNm, nm, kWholeTolerance)}});
}

using FactReader = FactRow (*)(const Part&, const DecodedValues&);
constexpr std::array<FactReader, 11> kFacts{
    CoreFact,        RevisionFact, CpuidFact,  ClockFact,   CacheFact,   VoltageFact,
    TemperatureFact, TdpFact,      SocketFact, PackageFact, ProcessFact,
};

}  // namespace

QList<FactRow> CompareWithDecode(const Part& part, const DecodedValues& decoded) {
    QList<FactRow> facts;
    for (FactReader read : kFacts) {
        facts.append(read(part, decoded));
    }
    return facts;
}

QList<FactRow> CompareWithDecode(const Part& part, const Sheet& sheet) {
    DecodedValues decoded;
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        decoded[i] = sheet.values[i].ToQString();
    }
    return CompareWithDecode(part, decoded);
}

QStringList DifferingCaptions(const QList<FactRow>& facts) {
    QStringList captions;
    for (int slot = 0; slot < kFieldCount; ++slot) {
        const QString caption = Caption(slot);
        const bool differs = std::any_of(facts.begin(), facts.end(), [&](const FactRow& fact) {
            return fact.agreement == Agreement::Differs && fact.captions.contains(caption);
        });
        if (differs) {
            captions.append(caption);
        }
    }
    return captions;
}

int CountDiffering(const QList<FactRow>& facts) {
    return static_cast<int>(std::count_if(facts.begin(), facts.end(), [](const FactRow& fact) {
        return fact.agreement == Agreement::Differs;
    }));
}

}  // namespace varnel::catalogue
