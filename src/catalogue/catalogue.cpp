#include "catalogue/catalogue.h"

#include <QFile>
#include <QRegularExpression>
#include <QtDebug>
#include <algorithm>
#include <array>
#include <compare>
#include <cstdlib>
#include <tuple>
#include <utility>
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

// How far one OPN lies from another: the edits that turn one into the
// other (a character changed, dropped, added, or two neighbours swapped),
// and how many of those are not look-alikes. Compared as a pair, so that of
// two ways with as many edits the one with more look-alikes counts.
struct Distance {
    int edits = 0;
    int unlike = 0;

    auto operator<=>(const Distance&) const = default;
    Distance Plus(bool lookAlike) const { return {edits + 1, unlike + (lookAlike ? 0 : 1)}; }
};

constexpr int kMostEdits = 2;
constexpr Distance kTooFar{kMostEdits + 1, kMostEdits + 1};

// The cheapest way to the cell (i, j) of the edit table from its neighbours.
template <typename At>
Distance CheapestStep(QStringView a, QStringView b, qsizetype i, qsizetype j, const At& at) {
    const bool same = a[i - 1] == b[j - 1];
    Distance best =
        same ? at(i - 1, j - 1) : at(i - 1, j - 1).Plus(AreLookAlikes(a[i - 1], b[j - 1]));
    best = std::min({best, at(i - 1, j).Plus(false), at(i, j - 1).Plus(false)});
    if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1] && !same) {
        best = std::min(best, at(i - 2, j - 2).Plus(false));
    }
    return best;
}

// The edit table (with swaps of neighbours, as a typist makes them), only
// along its diagonal: a cell further from it than two edits is too far
// anyway, and the cells just beside the band, which the band reads, are
// marked so. Two rows in a row beyond two edits end the search: no later
// cell comes closer. table is scratch room, kept between calls, so that a
// miss checked against every OPN costs no allocation each.
Distance Measure(QStringView a, QStringView b, std::vector<Distance>& table) {
    if (std::abs(a.size() - b.size()) > kMostEdits) {
        return kTooFar;
    }
    const qsizetype width = b.size() + 1;
    table.resize(static_cast<std::size_t>((a.size() + 1) * width));
    const auto cell = [&table, width](qsizetype i, qsizetype j) -> Distance& {
        return table[static_cast<std::size_t>(i * width + j)];
    };
    const auto at = [&cell](qsizetype i, qsizetype j) { return cell(i, j); };
    bool farRow = false;
    for (qsizetype i = 0; i <= a.size(); ++i) {
        const qsizetype first = std::max<qsizetype>(0, i - kMostEdits);
        const qsizetype last = std::min(b.size(), i + kMostEdits);
        if (first > 0) {
            cell(i, first - 1) = kTooFar;
        }
        if (last < b.size()) {
            cell(i, last + 1) = kTooFar;
        }
        Distance nearest = kTooFar;
        for (qsizetype j = first; j <= last; ++j) {
            const int edge = static_cast<int>(i + j);  // all dropped, or all added
            cell(i, j) = i == 0 || j == 0 ? Distance{edge, edge} : CheapestStep(a, b, i, j, at);
            nearest = std::min(nearest, cell(i, j));
        }
        if (nearest.edits > kMostEdits && std::exchange(farRow, true)) {
            return kTooFar;
        }
        farRow = nearest.edits > kMostEdits;
    }
    return at(a.size(), b.size());
}

// How often each character occurs in a code. An edit changes at most two
// counts by one (a swap none), so an OPN whose counts differ from the code's
// by more than twice the edits allowed is too far: most of the catalogue is
// ruled out so before the edit table, which costs a hundred times more.
class CharacterCounts {
  public:
    explicit CharacterCounts(QStringView code) {
        for (const QChar c : code) {
            ++counts_[Bucket(c)];
        }
    }

    bool MayBeNear(QStringView opn) const {
        std::array<int, kBuckets> left = counts_;
        for (const QChar c : opn) {
            --left[Bucket(c)];
        }
        int differing = 0;
        for (const int count : left) {
            differing += std::abs(count);
        }
        return differing <= 2 * kMostEdits;
    }

  private:
    static constexpr std::size_t kBuckets = 128;  // ASCII; the rest shares bucket 0
    static std::size_t Bucket(QChar c) { return c.unicode() < kBuckets ? c.unicode() : 0; }
    std::array<int, kBuckets> counts_{};
};

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
    const CharacterCounts counts(code);
    std::vector<std::tuple<Distance, qsizetype>> near;  // distance, order
    std::vector<Distance> table;
    for (qsizetype i = 0; i < parts_.size(); ++i) {
        if (!counts.MayBeNear(parts_[i].opn)) {
            continue;
        }
        const Distance distance = Measure(code, parts_[i].opn, table);
        if (distance.edits >= 1 && distance.edits <= kMostEdits) {
            near.emplace_back(distance, i);
        }
    }
    std::sort(near.begin(), near.end());
    QStringList opns;
    for (std::size_t i = 0; i < near.size() && opns.size() < max; ++i) {
        opns.append(parts_[std::get<1>(near[i])].opn);
    }
    return opns;
}

QList<const Part*> Catalogue::Find(QStringView text) const {
    const QStringList words = SearchWords(text);
    QList<const Part*> found;
    for (const Part& part : parts_) {
        if (MatchesSearch(part, words)) {
            found.append(&part);
        }
    }
    return found;
}

QStringList SearchWords(QStringView text) {
    QStringList words;
    for (QStringView word : text.split(QRegularExpression(QStringLiteral("\\s+")))) {
        if (QString cleaned = NormaliseCode(word); !cleaned.isEmpty()) {
            words.append(std::move(cleaned));
        }
    }
    return words;
}

bool MatchesSearch(const Part& part, const QStringList& words) {
    const std::array<QString, 4> fields{NormaliseCode(part.opn), NormaliseCode(part.family),
                                        NormaliseCode(part.core), NormaliseCode(part.rating)};
    return std::all_of(words.begin(), words.end(), [&fields](const QString& word) {
        return std::any_of(fields.begin(), fields.end(),
                           [&word](const QString& field) { return field.contains(word); });
    });
}

}  // namespace varnel::catalogue
