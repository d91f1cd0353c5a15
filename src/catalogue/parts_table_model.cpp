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

QString WithUnit(const std::optional<double>& value, QStringView unit) {
    return value ? FormatNumber(*value).append(unit) : QString();
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

struct TableColumn {
    const char* header;
    QString (*display)(const Part&);
    QVariant (*sortKey)(const Part&);  // null: the displayed text
};

const std::array<TableColumn, 9> kColumns{{
    {"OPN", [](const Part& p) { return p.opn; }, nullptr},
    {"Family", [](const Part& p) { return p.family; }, nullptr},
    {"Rating", [](const Part& p) { return p.rating; }, RatingNumber},
    {"Core", [](const Part& p) { return p.core; }, nullptr},
    {"Clock", [](const Part& p) { return WithUnit(p.clockMhz, u"MHz"); },
     [](const Part& p) { return SortNumber(p.clockMhz); }},
    {"L2", [](const Part& p) { return WithUnit(p.l2Kb, u"KB"); },
     [](const Part& p) { return SortNumber(p.l2Kb); }},
    {"Socket", [](const Part& p) { return p.socket; }, nullptr},
    {"Process", [](const Part& p) { return WithUnit(p.processNm, u"nm"); },
     [](const Part& p) { return SortNumber(p.processNm); }},
    {"Confidence", [](const Part& p) { return p.confidence; }, nullptr},
}};

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
    const TableColumn& column = kColumns.at(static_cast<std::size_t>(index.column()));
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
    return QString::fromLatin1(kColumns[static_cast<std::size_t>(section)].header);
}

}  // namespace varnel::catalogue
