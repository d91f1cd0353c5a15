#include "catalogue/verdict.h"

#include <array>

#include "decode/text.h"

namespace varnel::catalogue {

namespace {

// Each verdict's token, mark and place in the order of the enum.
struct VerdictRow {
    std::string_view token;
    char16_t mark;
};
constexpr std::array<VerdictRow, 5> kVerdicts{{
    {"", u'\u2013'},                // NotListed: an en dash
    {"matches", u'\u2713'},         // a check mark
    {"differs", u'\u2260'},         // not equal
    {"partly_read", u'?'},          //
    {"decode_stopped", u'\u26A0'},  // a warning sign
}};
static_assert(static_cast<std::size_t>(Verdict::DecodeStopped) + 1 == kVerdicts.size());

// What each confidence tier of the catalogue rests on.
struct Tier {
    std::u16string_view name;
    std::u16string_view basis;
};
constexpr std::array<Tier, 3> kTiers{{
    {u"datasheet", u"AMD's own tables, as carried by the sources below"},
    {u"database", u"curated lists and databases of the sources below"},
    {u"forum", u"a single collector's page or post"},
}};

QString FromView(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QString Count(int count, const char* one, const char* many) {
    return QString::number(count) + u' ' + QLatin1String(count == 1 ? one : many);
}

// "a", "a and b", "a, b and c".
QString Listed(const QStringList& items) {
    if (items.size() <= 1) {
        return items.value(0);
    }
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           items.last();
}

QString WithUnit(const std::optional<double>& value, QStringView unit) {
    return value ? FormatNumber(*value).append(unit) : QString();
}

QString JoinPresent(const QStringList& pieces, QStringView separator) {
    QStringList present;
    for (const QString& piece : pieces) {
        if (!piece.isEmpty()) {
            present.append(piece);
        }
    }
    return present.join(separator);
}

// ---- The catalogue's value of each fact a field is held against ----------------

// A revision belongs to the field that shows it for this chip.
QString WithRevision(const Part& part, const Sheet& sheet, Field field, QString value) {
    if (sheet.findings.revisionField == field && !part.revision.isEmpty()) {
        return JoinPresent({value, QStringLiteral("revision ") + part.revision}, u", ");
    }
    return value;
}

QString CoreValue(const Part& part, const Sheet& sheet) {
    return WithRevision(part, sheet, Field::Core, part.core);
}

QString CpuModelValue(const Part& part, const Sheet& sheet) {
    return WithRevision(part, sheet, Field::CpuModel,
                        part.cpuid.isEmpty() ? QString() : QStringLiteral("CPUID ") + part.cpuid);
}

QString ClockValue(const Part& part, const Sheet&) {
    return WithUnit(part.clockMhz, u"MHz");
}

QString PackageValue(const Part& part, const Sheet&) {
    return JoinPresent({part.socket, InSheetWords(part.package)}, u", ");
}

QString VoltageValue(const Part& part, const Sheet&) {
    return part.voltage.isEmpty() ? QString() : part.voltage + u'v';
}

QString TemperatureValue(const Part& part, const Sheet&) {
    return WithUnit(part.maxTempC, u"\u00b0C");
}

QString L2Value(const Part& part, const Sheet&) {
    return WithUnit(part.l2Kb, u"KB");
}

QString MultiplierValue(const Part& part, const Sheet&) {
    return part.multiplier ? FormatFixed(*part.multiplier, 1, u"x").ToQString() : QString();
}

QString BusValue(const Part& part, const Sheet&) {
    return part.bus;
}

QString ProcessValue(const Part& part, const Sheet&) {
    return WithUnit(part.processNm, u"nm");
}

using ValueOf = QString (*)(const Part&, const Sheet&);

// By catalogue fact; the plain name a sentence gives it beside.
struct FactText {
    ValueOf value;
    std::u16string_view plainName;
};
constexpr std::array<FactText, 11> kFactTexts{{
    {nullptr, u""},                              // None
    {CoreValue, u"core"},                        // Core
    {CpuModelValue, u"CPU model"},               // CpuModel
    {ClockValue, u"clock"},                      // Clock
    {PackageValue, u"package"},                  // Package
    {VoltageValue, u"voltage"},                  // Voltage
    {TemperatureValue, u"maximum temperature"},  // MaxTemperature
    {L2Value, u"L2 cache"},                      // L2Cache
    {MultiplierValue, u"multiplier"},            // Multiplier
    {BusValue, u"bus"},                          // Bus
    {ProcessValue, u"process"},                  // Process
}};
static_assert(static_cast<std::size_t>(CatalogueFact::Process) + 1 == kFactTexts.size());

const FactText& TextOf(Field field) {
    return kFactTexts[static_cast<std::size_t>(InfoOf(field).heldAgainst)];
}

bool Noted(Agreement agreement) {
    return agreement == Agreement::Differs || agreement == Agreement::NotRead;
}

// How many of the names stand as asked.
int CountNames(const Comparison& comparison, Agreement agreement) {
    int count = 0;
    VisitNames(comparison, agreement, [&count](std::u16string_view) { ++count; });
    return count;
}

QString DiffersSentence(const Comparison& comparison) {
    const int unread = CountNames(comparison, Agreement::NotRead);
    QString sentence =
        Count(CountNames(comparison, Agreement::Differs), "fact differs", "facts differ");
    return unread == 0 ? sentence
                       : sentence + QStringLiteral(", ") + QString::number(unread) +
                             QStringLiteral(" not read by the rules");
}

// How a sentence names a thing judged: "clock", "family", "core count".
QString PlainName(const Judged& judged) {
    switch (judged.kind) {
        case Judged::Kind::Family:
            return QStringLiteral("family");
        case Judged::Kind::Cores:
            return QStringLiteral("core count");
        case Judged::Kind::Field:
            break;
    }
    return FromView(TextOf(judged.field).plainName);
}

QStringList UnreadPlainNames(const Comparison& comparison) {
    QStringList names;
    VisitJudged(comparison, [&names](const Judged& judged) {
        if (judged.agreement == Agreement::NotRead) {
            names.append(PlainName(judged));
        }
    });
    names.removeDuplicates();
    return names;
}

// A thing judged as the catalogue gives it and as the results show it.
FactNote NoteOf(const Part& part, const Sheet& sheet, const Judged& judged) {
    FactNote note{judged.name, PlainName(judged), {}, {}, judged.agreement};
    switch (judged.kind) {
        case Judged::Kind::Family:
            note.catalogueValue = part.family;
            note.ruleValue = QString::fromUtf16(
                sheet.findings.family.data(), static_cast<qsizetype>(sheet.findings.family.size()));
            break;
        case Judged::Kind::Cores:
            note.catalogueValue = WithUnit(part.cores, u"");
            note.ruleValue = QString::number(sheet.findings.cores);
            break;
        case Judged::Kind::Field:
            note.catalogueValue = CatalogueValue(part, sheet, judged.field);
            note.ruleValue = sheet[judged.field].ToQString();
            break;
    }
    return note;
}

}  // namespace

Verdict VerdictOf(const Comparison& comparison) {
    if (comparison.part == nullptr) {
        return Verdict::NotListed;
    }
    if (!comparison.decodeCompleted) {
        return Verdict::DecodeStopped;
    }
    if (CountNames(comparison, Agreement::Differs) > 0) {
        return Verdict::Differs;
    }
    return CountNames(comparison, Agreement::NotRead) > 0 ? Verdict::PartlyRead : Verdict::Matches;
}

std::string_view VerdictToken(Verdict verdict) {
    return kVerdicts[static_cast<std::size_t>(verdict)].token;
}

QString VerdictMark(Verdict verdict) {
    return QString(QChar(kVerdicts[static_cast<std::size_t>(verdict)].mark));
}

QString VerdictSentence(const Comparison& comparison, qsizetype partCount) {
    const int agreeing = CountNames(comparison, Agreement::Agrees);
    switch (VerdictOf(comparison)) {
        case Verdict::NotListed:
            return QStringLiteral("Not in the catalogue of %1 parts").arg(partCount);
        case Verdict::DecodeStopped:
            return QStringLiteral("The rules cannot read this marking. The catalogue knows it:");
        case Verdict::Differs:
            return DiffersSentence(comparison);
        case Verdict::PartlyRead:
            return QStringLiteral("Agrees on ") + Count(agreeing, "fact", "facts") +
                   QStringLiteral("; the rules could not read ") +
                   Listed(UnreadPlainNames(comparison));
        case Verdict::Matches:
            break;
    }
    return QStringLiteral("Matches the decode on ") + Count(agreeing, "fact", "facts");
}

QString PartName(const Part& part) {
    QString name = QStringList{part.family, part.rating}.join(u' ').trimmed();
    if (!part.core.isEmpty()) {
        name += QStringLiteral(", ") + part.core;
    }
    return name;
}

QString TierText(const QString& confidence) {
    for (const Tier& tier : kTiers) {
        if (confidence == FromView(tier.name)) {
            return confidence + QStringLiteral(": ") + FromView(tier.basis);
        }
    }
    return confidence;
}

QStringList KeyFacts(const Part& part) {
    const QString cores =
        part.cores ? Count(static_cast<int>(*part.cores), "core", "cores") : QString();
    const QStringList facts{
        QStringList{part.family, part.rating}.join(u' ').trimmed(),
        part.core.isEmpty() ? QString() : part.core + QStringLiteral(" core"),
        JoinPresent({WithUnit(part.clockMhz, u" MHz"), part.bus}, u", "),
        JoinPresent({WithUnit(part.l2Kb, u" KB L2"), cores}, u", "),
        part.socket,
        WithUnit(part.processNm, u" nm"),
    };
    return JoinPresent(facts, u"\n").split(u'\n', Qt::SkipEmptyParts);
}

QString InSheetWords(const QString& package) {
    QString words = package;
    words.replace(QStringLiteral("OuPGA"), QStringLiteral("O\u00b5PGA"));
    words.replace(QStringLiteral("CuPGA"), QStringLiteral("C\u00b5PGA"));
    return words;
}

QString CatalogueValue(const Part& part, const Sheet& sheet, Field field) {
    const ValueOf value = TextOf(field).value;
    return value != nullptr ? value(part, sheet) : QString();
}

QList<FactNote> FactNotes(const Part& part, const Sheet& sheet, const Comparison& comparison) {
    QList<FactNote> notes;
    VisitJudged(comparison, [&](const Judged& judged) {
        if (Noted(judged.agreement)) {
            notes.append(NoteOf(part, sheet, judged));
        }
    });
    return notes;
}

namespace {

QString NoteText(const FactNote& note) {
    return note.agreement == Agreement::NotRead
               ? note.catalogueValue + QStringLiteral(" (the rules could not read it)")
               : note.catalogueValue + QStringLiteral(" (the rules read ") + note.ruleValue + u')';
}

QList<CatalogueLine> NotListedLines(const Comparison& comparison) {
    QString text = QStringLiteral("not listed");
    if (!comparison.nearOpns.isEmpty()) {
        text += QStringLiteral("; near: ") + comparison.nearOpns.join(QStringLiteral(", "));
    }
    return {{QStringLiteral("Catalogue"), text}};
}

}  // namespace

QList<CatalogueLine> CatalogueLines(const Sheet& sheet, const Comparison& comparison) {
    if (comparison.part == nullptr) {
        return NotListedLines(comparison);
    }
    const Part& part = *comparison.part;
    const Verdict verdict = VerdictOf(comparison);
    QList<CatalogueLine> lines{
        {QStringLiteral("Catalogue"),
         PartName(part) + QStringLiteral(" (") + part.confidence + u')'},
        {QStringLiteral("Verdict"), VerdictMark(verdict) + u' ' + VerdictSentence(comparison, 0)},
    };
    if (verdict == Verdict::DecodeStopped) {
        for (const QString& fact : KeyFacts(part)) {
            lines.append({QString(), fact});
        }
        return lines;
    }
    for (const FactNote& note : FactNotes(part, sheet, comparison)) {
        lines.append({FromView(note.name), NoteText(note)});
    }
    return lines;
}

}  // namespace varnel::catalogue
