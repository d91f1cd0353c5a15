#include "catalogue/parts_table_model.h"

#include <array>
#include <optional>

#include "decode/text.h"

namespace varnel::catalogue {

namespace {

QVariant SortNumber(const std::optional<double>& value) {
    // A part without the value sorts before all that have it.
    return value.value_or(-1.0);
}

QString NumberText(const std::optional<double>& value) {
    return value ? FormatNumber(*value) : QString();
}

// Ratings sort by their number: 2600+ after 800+, FX-55 and 146 HE by 55 and 146.
QVariant RatingNumber(const Part& part) {
    const QStringView rating = part.rating;
    qsizetype start = 0;
    while (start < rating.size() && !IsDecimalDigit(rating[start])) {
        ++start;
    }
    qsizetype end = start;
    while (end < rating.size() && IsDecimalDigit(rating[end])) {
        ++end;
    }
    return rating.mid(start, end - start).toDouble();
}

// clang-format off
// What a buyer or collector checks first, units in the titles.
const std::array<PartColumn, PartsTableModel::ColumnCount> kColumns{{
    {"OPN",        [](const Part& p) { return p.opn; },                  nullptr},
    {"Family",     [](const Part& p) { return p.family; },               nullptr},
    {"Rating",     [](const Part& p) { return p.rating; },               RatingNumber},
    {"Core",       [](const Part& p) { return p.core; },                 nullptr},
    {"MHz",        [](const Part& p) { return NumberText(p.clockMhz); },
                   [](const Part& p) { return SortNumber(p.clockMhz); }},
    {"Bus",        [](const Part& p) { return p.bus; },
                   [](const Part& p) { return SortNumber(p.busSpeed); }},
    {"L2 KB",      [](const Part& p) { return NumberText(p.l2Kb); },
                   [](const Part& p) { return SortNumber(p.l2Kb); }},
    {"Volts",      [](const Part& p) { return p.voltage; },
                   [](const Part& p) { return SortNumber(p.voltageLow); }},
    {"Socket",     [](const Part& p) { return p.socket; },               nullptr},
    {"Process nm", [](const Part& p) { return NumberText(p.processNm); },
                   [](const Part& p) { return SortNumber(p.processNm); }},
    {"Confidence", [](const Part& p) { return p.confidence; },           nullptr},
}};
// clang-format on

}  // namespace

PartsTableModel::PartsTableModel(const Catalogue& catalogue, QObject* parent)
    : QAbstractTableModel(parent), catalogue_(catalogue) {}

int PartsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(catalogue_.Count());
}

int PartsTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kColumns.size());
}

QVariant PartsTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const Part& part = catalogue_.All().at(index.row());
    const PartColumn& column = kColumns.at(static_cast<std::size_t>(index.column()));
    switch (role) {
        case Qt::DisplayRole:
            return column.display(part);
        case SortRole:
            return column.sortKey != nullptr ? column.sortKey(part) : column.display(part);
        case OpnRole:
            return part.opn;
        default:
            return {};
    }
}

QVariant PartsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= static_cast<int>(kColumns.size())) {
        return {};
    }
    return QString::fromLatin1(kColumns[static_cast<std::size_t>(section)].title);
}

const std::array<PartColumn, PartsTableModel::ColumnCount>& PartColumns() {
    return kColumns;
}

}  // namespace varnel::catalogue
