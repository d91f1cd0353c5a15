#include "catalogue/catalogue.h"

#include <QFile>
#include <QtDebug>
#include <algorithm>
#include <array>
#include <tuple>
#include <vector>

#include "decode/text.h"

namespace varnel::catalogue {

namespace {

constexpr auto kBuiltinPath = ":/catalogue/amd-k7-k8-parts.tsv";

// Characters that a worn or badly printed lid lets a reader take for each other.
struct LookAlike {
    char16_t a;
    char16_t b;
};
constexpr std::array<LookAlike, 2> kLookAlikes{{{u'O', u'0'}, {u'I', u'1'}}};

bool AreLookAlikes(QChar x, QChar y) {
    return std::any_of(kLookAlikes.begin(), kLookAlikes.end(), [&](const LookAlike& pair) {
        return (x == pair.a && y == pair.b) || (x == pair.b && y == pair.a);
    });
}

// How far one OPN lies from another of the same length: the number of
// characters that differ, and how many of those are not look-alikes.
struct Distance {
    int changed = 0;
    int unlike = 0;
};

Distance Measure(QStringView a, QStringView b) {
    Distance distance;
    for (qsizetype i = 0; i < a.size() && distance.changed <= 2; ++i) {
        if (a[i] != b[i]) {
            ++distance.changed;
            distance.unlike += AreLookAlikes(a[i], b[i]) ? 0 : 1;
        }
    }
    return distance;
}

QStringView LineWithoutCarriageReturn(QStringView line) {
    return line.endsWith(u'\r') ? line.chopped(1) : line;
}

Part ReadPart(const QList<int>& columns, QStringView line) {
    Part part;
    const QList<QStringView> cells = line.split(u'\t');
    for (qsizetype i = 0; i < cells.size() && i < columns.size(); ++i) {
        if (columns[i] >= 0) {
            SetColumn(part, columns[i], cells[i]);
        }
    }
    return part;
}

QString ReadBuiltinText() {
    QFile file(QString::fromLatin1(kBuiltinPath));
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("The parts catalogue is missing from the program: %s", kBuiltinPath);
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

}  // namespace

Catalogue::Catalogue(QStringView tsv) {
    const QList<QStringView> lines = tsv.split(u'\n');
    if (lines.isEmpty()) {
        return;
    }
    QList<int> columns;
    for (QStringView name : lines.first().split(u'\t')) {
        columns.append(ColumnIndex(LineWithoutCarriageReturn(name)));
    }
    for (qsizetype i = 1; i < lines.size(); ++i) {
        Part part = ReadPart(columns, LineWithoutCarriageReturn(lines[i]));
        if (!part.opn.isEmpty() && !indexByOpn_.contains(part.opn)) {
            indexByOpn_.insert(part.opn, parts_.size());
            parts_.append(std::move(part));
        }
    }
}

const Catalogue& Catalogue::Builtin() {
    // A function-local static: built once, on first use, safely across threads.
    static const Catalogue builtin(ReadBuiltinText());
    return builtin;
}

const Part* Catalogue::Lookup(QStringView codeOne) const {
    const auto found = indexByOpn_.constFind(NormaliseCode(codeOne));
    return found == indexByOpn_.constEnd() ? nullptr : &parts_[*found];
}

QStringList Catalogue::NearOpns(QStringView codeOne, int max) const {
    const QString code = NormaliseCode(codeOne);
    std::vector<std::tuple<int, int, qsizetype>> near;  // changed, unlike, order
    for (qsizetype i = 0; i < parts_.size(); ++i) {
        if (parts_[i].opn.size() != code.size()) {
            continue;
        }
        const Distance distance = Measure(code, parts_[i].opn);
        if (distance.changed >= 1 && distance.changed <= 2) {
            near.emplace_back(distance.changed, distance.unlike, i);
        }
    }
    std::sort(near.begin(), near.end());
    QStringList opns;
    for (std::size_t i = 0; i < near.size() && opns.size() < max; ++i) {
        opns.append(parts_[std::get<2>(near[i])].opn);
    }
    return opns;
}

QList<const Part*> Catalogue::Find(QStringView text) const {
    const QStringView wanted = text.trimmed();
    QList<const Part*> found;
    for (const Part& part : parts_) {
        const std::array<const QString*, 4> fields{&part.opn, &part.family, &part.core,
                                                   &part.rating};
        if (std::any_of(fields.begin(), fields.end(), [&](const QString* field) {
                return field->contains(wanted, Qt::CaseInsensitive);
            })) {
            found.append(&part);
        }
    }
    return found;
}

}  // namespace varnel::catalogue
