#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

#include "catalogue/part.h"

namespace varnel::catalogue {

// A kind of processor as a calculator offers it: a family and one of its
// cores ("Athlon XP", "Barton"), or every core of the family when the core is
// empty ("Athlon 64").
struct PartKind {
    QString family;
    QString core;
};

// The entries the calculators read, each with the range a real part of these
// years can have.
enum class EntryField { ClockMhz, Multiplier, Volts };

// A number typed by the user, with the decimal point or the decimal comma;
// without a value, `message` says what to enter and why the text was refused.
struct Entry {
    std::optional<double> value;
    QString message;
};
Entry ReadEntry(EntryField field, QStringView text);

// The performance rating at a clock: the ratings of the parts of the kind
// that run within 1 % of it, or else an estimate from a least-squares line of
// rating against clock over the kind's parts (one line per L2 size, since an
// Athlon 64 of the same clock is rated higher with more cache). With a
// front-side bus (MHz, 166.67 for FSB 333), the parts at that bus come first
// and alone when there are any.
struct Rating {
    QString text;
    bool estimated = false;
};
Rating RateClock(const QList<Part>& parts, const PartKind& kind, double clockMhz,
                 std::optional<double> fsbMhz = std::nullopt);

// "MHz to PR": the clock entry's text to a rating, or what to enter.
QString RateClockEntry(const QList<Part>& parts, const PartKind& kind, QStringView clockText);

// "Check MHz": multiplier times the listed bus ("133.33" is 133 1/3 MHz) and
// that clock's rating. `clockEntry` is the clock for the clock entry, empty
// when the multiplier could not be read.
struct ClockCheck {
    QString clockEntry;
    QString text;
};
ClockCheck CheckClock(const QList<Part>& parts, const PartKind& kind, QStringView multiplierText,
                      QStringView busText);

// Estimated power: the TDP of the part of the kind nearest in clock (then in
// voltage) that lists a TDP, scaled linearly with clock and with the square of
// the core voltage, as dynamic power goes. `from` is that part; null when the
// kind has no such part.
struct Power {
    std::optional<double> watts;
    const Part* from = nullptr;
    QString text;
};
Power EstimatePower(const QList<Part>& parts, const PartKind& kind, double clockMhz, double volts);

// "Check" in the thermal window: the two entries' texts to a power, or what
// to enter.
QString EstimatePowerEntry(const QList<Part>& parts, const PartKind& kind, QStringView speedText,
                           QStringView voltsText);

}  // namespace varnel::catalogue
