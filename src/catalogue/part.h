#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace varnel::catalogue {

// How the catalogue states a part's bus: the K7 front-side bus in MT/s
// (double-pumped, so the core clock is multiplier x FSB/2) or the K8
// HyperTransport link in MHz (the core clock runs off a 200 MHz reference).
enum class BusKind { Unknown, FrontSide, HyperTransport };

// One real processor of the catalogue, by its ordering part number. Texts are
// as the data gives them; an empty text or an empty number means "not known
// from the sources".
struct Part {
    QString opn;
    QString family;
    QString rating;
    QString core;
    QString revision;
    // CPUID family/model/stepping in hexadecimal without "h"; "x" marks an
    // unknown nibble and "a/b" gives either of two.
    QString cpuid;
    std::optional<double> clockMhz;
    std::optional<double> multiplier;
    QString bus;  // "FSB 333" or "HT 1000" as listed
    BusKind busKind = BusKind::Unknown;
    std::optional<double> busSpeed;  // the number of `bus`
    std::optional<double> l2Kb;      // total over all cores
    std::optional<double> cores;
    // Nominal core voltage as listed: one value or a range "a-b"; the bounds
    // are equal for a single value.
    QString voltage;
    std::optional<double> voltageLow;
    std::optional<double> voltageHigh;
    std::optional<double> maxTempC;
    std::optional<double> tdpW;
    QString socket;
    QString package;
    std::optional<double> processNm;
    QString confidence;
    QStringList sources;  // the first carried the row, the rest confirm it
    QString notes;
};

// The data's columns, in the order of the file's header.
QStringList ColumnNames();

// A column's value for writers that list every column: a number column gives
// a double or a null QVariant; the voltage gives a double when it is a single
// value, its text when it is a range, and null when it is not known; the sources a QStringList; the others their text.
QVariant ColumnValue(const Part& part, int column);

// The index of a named column, or -1 for a column the catalogue does not know
// (a newer file with more columns still loads).
int ColumnIndex(QStringView name);

// Fills one column of a part from the text of its cell.
void SetColumn(Part& part, int column, QStringView cell);

// Shortest text of a catalogue number: 1833, 11.5, 85.3.
QString FormatNumber(double value);

}  // namespace varnel::catalogue
