#include "catalogue/part.h"

#include <array>
#include <string_view>

namespace varnel::catalogue {

namespace {

enum class Kind { Text, Number, Voltage, Bus, List };

// One column of the data: its header name, how its cell reads, and the field
// it fills. One table drives both the reading and the writing of a part.
struct Column {
    std::u16string_view name;
    Kind kind;
    QString Part::*text = nullptr;
    std::optional<double> Part::*number = nullptr;
};

constexpr std::array<Column, 20> kColumns{{
    {u"opn", Kind::Text, &Part::opn},
    {u"family", Kind::Text, &Part::family},
    {u"rating", Kind::Text, &Part::rating},
    {u"core", Kind::Text, &Part::core},
    {u"revision", Kind::Text, &Part::revision},
    {u"cpuid", Kind::Text, &Part::cpuid},
    {u"clock_mhz", Kind::Number, nullptr, &Part::clockMhz},
    {u"multiplier", Kind::Number, nullptr, &Part::multiplier},
    {u"bus", Kind::Bus, &Part::bus},
    {u"l2_kb", Kind::Number, nullptr, &Part::l2Kb},
    {u"cores", Kind::Number, nullptr, &Part::cores},
    {u"voltage_v", Kind::Voltage, &Part::voltage},
    {u"max_temp_c", Kind::Number, nullptr, &Part::maxTempC},
    {u"tdp_w", Kind::Number, nullptr, &Part::tdpW},
    {u"socket", Kind::Text, &Part::socket},
    {u"package", Kind::Text, &Part::package},
    {u"process_nm", Kind::Number, nullptr, &Part::processNm},
    {u"confidence", Kind::Text, &Part::confidence},
    {u"sources", Kind::List},
    {u"notes", Kind::Text, &Part::notes},
}};

// The words in front of the bus speed.
struct BusWord {
    std::u16string_view word;
    BusKind kind;
};
constexpr std::array<BusWord, 2> kBusWords{{
    {u"FSB", BusKind::FrontSide},
    {u"HT", BusKind::HyperTransport},
}};

QStringView ToView(std::u16string_view text) {
    return QStringView(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<double> ParseNumber(QStringView text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

// "1.65" or "1.10-1.35"; the dash of a range never stands first.
void SetVoltage(Part& part, QStringView cell) {
    const qsizetype dash = cell.indexOf(u'-', 1);
    part.voltageLow = ParseNumber(dash < 0 ? cell : cell.left(dash));
    part.voltageHigh = dash < 0 ? part.voltageLow : ParseNumber(cell.mid(dash + 1));
    if (!part.voltageLow || !part.voltageHigh) {
        part.voltageLow.reset();
        part.voltageHigh.reset();
    }
}

void SetBus(Part& part, QStringView cell) {
    const qsizetype space = cell.indexOf(u' ');
    const QStringView word = space < 0 ? cell : cell.left(space);
    for (const BusWord& entry : kBusWords) {
        if (word == ToView(entry.word)) {
            part.busKind = entry.kind;
            part.busSpeed = ParseNumber(cell.mid(space + 1));
        }
    }
}

}  // namespace

QStringList ColumnNames() {
    QStringList names;
    for (const Column& column : kColumns) {
        names.append(ToView(column.name).toString());
    }
    return names;
}

int ColumnIndex(QStringView name) {
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        if (name == ToView(kColumns[i].name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void SetColumn(Part& part, int column, QStringView cell) {
    const Column& entry = kColumns.at(static_cast<std::size_t>(column));
    if (entry.kind == Kind::Number) {
        part.*entry.number = ParseNumber(cell);
        return;
    }
    if (entry.kind == Kind::List) {
        part.sources = cell.toString().split(u' ', Qt::SkipEmptyParts);
        return;
    }
    part.*entry.text = cell.toString();
    if (entry.kind == Kind::Voltage) {
        SetVoltage(part, cell);
    } else if (entry.kind == Kind::Bus) {
        SetBus(part, cell);
    }
}

QVariant ColumnValue(const Part& part, int column) {
    const Column& entry = kColumns.at(static_cast<std::size_t>(column));
    switch (entry.kind) {
        case Kind::Number: {
            const std::optional<double>& value = part.*entry.number;
            return value ? QVariant(*value) : QVariant();
        }
        case Kind::Voltage:
            if (part.voltageLow && part.voltageLow == part.voltageHigh) {
                return *part.voltageLow;
            }
            return part.voltage.isEmpty() ? QVariant() : QVariant(part.voltage);
        case Kind::List:
            return part.sources;
        default:
            return part.*entry.text;
    }
}

QString FormatNumber(double value) {
    return QString::number(value, 'g', 7);
}

}  // namespace varnel::catalogue
