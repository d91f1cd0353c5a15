#include "catalogue/calculators.h"

#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

namespace varnel::catalogue {

namespace {

const QString kAbout = QStringLiteral("\u2248 ");

// What each entry takes: the words of its request, the plausible range and a
// typical value. Below 100 MHz or above 10 GHz no K7 or K8 ever ran; their
// multipliers lie between 3 and 30, their core voltages between 0.5 and 2.5 V.
struct EntryRule {
    EntryField field;
    std::u16string_view what;
    double low;
    double high;
    std::u16string_view example;
};
constexpr std::array<EntryRule, 3> kEntryRules{{
    {EntryField::ClockMhz, u"the clock speed in MHz", 100, 10000, u"2200"},
    {EntryField::Multiplier, u"the multiplier", 3, 30, u"11.5"},
    {EntryField::Volts, u"the voltage in volts", 0.5, 2.5, u"1.65"},
}};

// The bus list's figures stand for the thirds of a 400 MHz crystal:
// "133.33" is 133 1/3 MHz, so that 11 x 166.66 comes to 1833 MHz, not 1832.6.
struct BusFigure {
    std::u16string_view text;
    double mhz;
};
constexpr std::array<BusFigure, 4> kBusFigures{{
    {u"100", 100.0},
    {u"133.33", 400.0 / 3},
    {u"166.66", 500.0 / 3},
    {u"200", 200.0},
}};

QString ToQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

// A long paste is shown by its start only, and says so.
QString Quoted(QStringView text) {
    constexpr qsizetype kShown = 20;
    const QString shown =
        text.size() > kShown ? text.left(kShown).toString() + u'\u2026' : text.toString();
    return u'\u201c' + shown + u'\u201d';
}

bool IsOfKind(const Part& part, const PartKind& kind) {
    return part.family == kind.family && (kind.core.isEmpty() || part.core == kind.core);
}

QString KindName(const PartKind& kind) {
    return kind.core.isEmpty() ? kind.family : kind.core;
}

// The performance rating of a part sold by one ("2500+"); a suffixed model
// ("2500+ DTR", "3500+ EE") or a model number ("LE-1640") rates differently.
std::optional<int> PerformanceRating(const Part& part) {
    static const QRegularExpression kPlain(QStringLiteral("^(\\d+)\\+$"));
    const QRegularExpressionMatch match = kPlain.match(part.rating);
    if (!match.hasMatch() || !part.clockMhz) {
        return std::nullopt;
    }
    return match.captured(1).toInt();
}

QList<const Part*> RatedParts(const QList<Part>& parts, const PartKind& kind) {
    QList<const Part*> rated;
    for (const Part& part : parts) {
        if (IsOfKind(part, kind) && PerformanceRating(part)) {
            rated.append(&part);
        }
    }
    return rated;
}

}  // namespace

Entry ReadEntry(EntryField field, QStringView text) {
    const EntryRule& rule = *std::find_if(kEntryRules.begin(), kEntryRules.end(),
                                          [field](const EntryRule& r) { return r.field == field; });
    const QString request = QStringLiteral("Enter ") + ToQString(rule.what) +
                            QStringLiteral(", for example ") + ToQString(rule.example);
    const QString typed = text.trimmed().toString().replace(u',', u'.');
    if (typed.isEmpty()) {
        return {std::nullopt, request};
    }
    bool ok = false;
    const double value = typed.toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        return {std::nullopt, request + QStringLiteral(": ") + Quoted(text.trimmed()) +
                                  QStringLiteral(" is not a number")};
    }
    if (value < rule.low || value > rule.high) {
        return {std::nullopt, request + QStringLiteral(": ") + FormatNumber(value) +
                                  QStringLiteral(" is outside ") + FormatNumber(rule.low) +
                                  QStringLiteral(" to ") + FormatNumber(rule.high)};
    }
    return {value, {}};
}

namespace {

// The parts sold at one rating, bus and cache size.
struct RatingGroup {
    int rating = 0;
    QString bus;
    double l2Kb = 0;
    QStringList opns;
};

bool SameBus(const Part& part, double fsbMhz) {
    return part.busKind == BusKind::FrontSide && part.busSpeed &&
           std::abs(*part.busSpeed - 2 * fsbMhz) < 2;
}

// The rated parts within 1 % of the clock; only those at the given bus when
// any of them is.
QList<const Part*> PartsAtClock(const QList<const Part*>& rated, double clockMhz,
                                std::optional<double> fsbMhz) {
    QList<const Part*> near;
    for (const Part* part : rated) {
        if (std::abs(*part->clockMhz - clockMhz) <= 0.01 * *part->clockMhz) {
            near.append(part);
        }
    }
    QList<const Part*> atBus;
    for (const Part* part : near) {
        if (fsbMhz && SameBus(*part, *fsbMhz)) {
            atBus.append(part);
        }
    }
    return atBus.isEmpty() ? near : atBus;
}

QList<RatingGroup> GroupByRating(const QList<const Part*>& near) {
    QList<RatingGroup> groups;
    for (const Part* part : near) {
        const int rating = *PerformanceRating(*part);
        const double l2 = part->l2Kb.value_or(0);
        auto group = std::find_if(groups.begin(), groups.end(), [&](const RatingGroup& g) {
            return g.rating == rating && g.bus == part->bus && g.l2Kb == l2;
        });
        if (group == groups.end()) {
            groups.append({rating, part->bus, l2, {}});
            group = groups.end() - 1;
        }
        group->opns.append(part->opn);
    }
    std::stable_sort(groups.begin(), groups.end(), [](const RatingGroup& a, const RatingGroup& b) {
        return a.rating < b.rating;
    });
    return groups;
}

// "2800+ (AXDA2800DKV4D, FSB 333)", one rating a line: the bus and the cache
// are named only where the parts at this clock differ in them.
QString DescribeGroups(const QList<RatingGroup>& groups) {
    constexpr qsizetype kOpnsShown = 2;
    const auto varies = [&](auto field) {
        return std::any_of(groups.begin(), groups.end(),
                           [&](const RatingGroup& g) { return field(g) != field(groups.front()); });
    };
    const bool busVaries = varies([](const RatingGroup& g) { return g.bus; });
    const bool l2Varies = varies([](const RatingGroup& g) { return g.l2Kb; });
    QStringList texts;
    for (const RatingGroup& group : groups) {
        QString text = group.opns.mid(0, kOpnsShown).join(QStringLiteral(", "));
        if (group.opns.size() > kOpnsShown) {
            text += QStringLiteral(" and %1 more").arg(group.opns.size() - kOpnsShown);
        }
        text += busVaries ? QStringLiteral(", ") + group.bus : QString();
        text += l2Varies ? QStringLiteral(", %1 KB").arg(FormatNumber(group.l2Kb)) : QString();
        texts.append(QStringLiteral("%1+ (%2)").arg(group.rating).arg(text));
    }
    return texts.join(u'\n');
}

// A least-squares line of rating against clock over parts of one cache size.
struct RatingLine {
    double l2Kb = 0;
    qsizetype count = 0;
    double intercept = 0;
    double slope = 0;
};

std::optional<RatingLine> FitLine(const QList<const Part*>& parts, double l2Kb) {
    if (parts.size() < 2) {
        return std::nullopt;
    }
    double sumX = 0, sumY = 0;
    for (const Part* part : parts) {
        sumX += *part->clockMhz;
        sumY += *PerformanceRating(*part);
    }
    const double meanX = sumX / parts.size(), meanY = sumY / parts.size();
    double sxy = 0, sxx = 0;
    for (const Part* part : parts) {
        sxy += (*part->clockMhz - meanX) * (*PerformanceRating(*part) - meanY);
        sxx += (*part->clockMhz - meanX) * (*part->clockMhz - meanX);
    }
    if (sxx <= 0) {
        return std::nullopt;  // one clock alone draws no line
    }
    return RatingLine{l2Kb, parts.size(), meanY - sxy / sxx * meanX, sxy / sxx};
}

QList<RatingLine> FitLinesByCache(const QList<const Part*>& rated) {
    QList<double> sizes;
    for (const Part* part : rated) {
        if (!sizes.contains(part->l2Kb.value_or(0))) {
            sizes.append(part->l2Kb.value_or(0));
        }
    }
    std::sort(sizes.begin(), sizes.end());
    QList<RatingLine> lines;
    for (double size : sizes) {
        QList<const Part*> sameCache;
        std::copy_if(rated.begin(), rated.end(), std::back_inserter(sameCache),
                     [size](const Part* p) { return p->l2Kb.value_or(0) == size; });
        if (const auto line = FitLine(sameCache, size)) {
            lines.append(*line);
        }
    }
    return lines;
}

QString ClockSpan(const QList<const Part*>& rated) {
    const auto [slowest, fastest] = std::minmax_element(
        rated.begin(), rated.end(),
        [](const Part* a, const Part* b) { return *a->clockMhz < *b->clockMhz; });
    return QStringLiteral("%1 to %2 MHz")
        .arg(FormatNumber(*(*slowest)->clockMhz), FormatNumber(*(*fastest)->clockMhz));
}

// Ratings were sold in steps of 100 or so; a line is not finer than half that.
QString EstimateRating(const QList<const Part*>& rated, const PartKind& kind, double clockMhz) {
    const QList<RatingLine> lines = FitLinesByCache(rated);
    QStringList estimates;
    qsizetype used = 0;
    for (const RatingLine& line : lines) {
        const long rating = std::lround((line.intercept + line.slope * clockMhz) / 50) * 50;
        used += line.count;
        if (rating >= 100) {
            estimates.append(kAbout + QString::number(rating) + u'+' +
                             (lines.size() > 1
                                  ? QStringLiteral(" for %1 KB parts").arg(FormatNumber(line.l2Kb))
                                  : QString()));
        }
    }
    if (lines.isEmpty()) {
        return QStringLiteral("No estimate: the catalogue holds too few rated %1 parts")
            .arg(KindName(kind));
    }
    if (estimates.isEmpty()) {
        return QStringLiteral("No estimate: %1 MHz is far below the %2 parts (%3)")
            .arg(FormatNumber(clockMhz), KindName(kind), ClockSpan(rated));
    }
    return estimates.join(QStringLiteral(", ")) +
           QStringLiteral(", estimated from %1 %2 parts (%3)")
               .arg(used)
               .arg(KindName(kind), ClockSpan(rated));
}

}  // namespace

Rating RateClock(const QList<Part>& parts, const PartKind& kind, double clockMhz,
                 std::optional<double> fsbMhz) {
    const QList<const Part*> rated = RatedParts(parts, kind);
    const QList<const Part*> near = PartsAtClock(rated, clockMhz, fsbMhz);
    if (!near.isEmpty()) {
        return {DescribeGroups(GroupByRating(near)), false};
    }
    return {EstimateRating(rated, kind, clockMhz), true};
}

QString RateClockEntry(const QList<Part>& parts, const PartKind& kind, QStringView clockText) {
    const Entry clock = ReadEntry(EntryField::ClockMhz, clockText);
    return clock.value ? RateClock(parts, kind, *clock.value).text : clock.message;
}

ClockCheck CheckClock(const QList<Part>& parts, const PartKind& kind, QStringView multiplierText,
                      QStringView busText) {
    const Entry multiplier = ReadEntry(EntryField::Multiplier, multiplierText);
    if (!multiplier.value) {
        return {{}, multiplier.message};
    }
    const auto bus = std::find_if(kBusFigures.begin(), kBusFigures.end(),
                                  [&](const BusFigure& b) { return ToQString(b.text) == busText; });
    if (bus == kBusFigures.end()) {
        return {{}, QStringLiteral("Choose the front-side bus from the list")};
    }
    const double clockMhz = *multiplier.value * bus->mhz;
    const QString clock = QString::number(std::lround(clockMhz));
    return {clock, QStringLiteral("%1 \u00d7 %2 = %3 MHz: %4")
                       .arg(FormatNumber(*multiplier.value), busText.toString(), clock,
                            RateClock(parts, kind, clockMhz, bus->mhz).text)};
}

namespace {

bool CanScaleFrom(const Part& part) {
    return part.tdpW && part.clockMhz && *part.clockMhz > 0 && part.voltageLow &&
           *part.voltageLow > 0 && part.voltageLow == part.voltageHigh;
}

// The part nearest in clock, then in voltage; of equals the first listed.
const Part* NearestScalable(const QList<Part>& parts, const PartKind& kind, double clockMhz,
                            double volts) {
    const Part* nearest = nullptr;
    const auto distance = [&](const Part& p) {
        return std::pair(std::abs(*p.clockMhz - clockMhz), std::abs(*p.voltageLow - volts));
    };
    for (const Part& part : parts) {
        if (IsOfKind(part, kind) && CanScaleFrom(part) &&
            (!nearest || distance(part) < distance(*nearest))) {
            nearest = &part;
        }
    }
    return nearest;
}

}  // namespace

Power EstimatePower(const QList<Part>& parts, const PartKind& kind, double clockMhz, double volts) {
    const Part* from = NearestScalable(parts, kind, clockMhz, volts);
    if (!from) {
        return {std::nullopt, nullptr,
                QStringLiteral("No estimate: the catalogue lists no %1 (%2) part with a TDP and "
                               "a voltage to scale from")
                    .arg(kind.family, KindName(kind))};
    }
    const double voltageRatio = volts / *from->voltageLow;
    const double watts = *from->tdpW * (clockMhz / *from->clockMhz) * voltageRatio * voltageRatio;
    return {
        watts, from,
        kAbout + QStringLiteral("%1 W, scaled from %2: %3 MHz, %4 V, %5 W")
                     .arg(QString::number(watts, 'f', 1), from->opn, FormatNumber(*from->clockMhz),
                          FormatNumber(*from->voltageLow), FormatNumber(*from->tdpW))};
}

QString EstimatePowerEntry(const QList<Part>& parts, const PartKind& kind, QStringView speedText,
                           QStringView voltsText) {
    const Entry speed = ReadEntry(EntryField::ClockMhz, speedText);
    if (!speed.value) {
        return speed.message;
    }
    const Entry volts = ReadEntry(EntryField::Volts, voltsText);
    return volts.value ? EstimatePower(parts, kind, *speed.value, *volts.value).text
                       : volts.message;
}

}  // namespace varnel::catalogue
