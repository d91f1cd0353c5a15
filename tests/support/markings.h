#pragma once

#include <QList>
#include <QString>
#include <array>
#include <ostream>
#include <vector>

#include "decode/ports.h"
#include "decode/sheet.h"

namespace varnel::testdata {

// One hand-worked run from tests/data/markings.tsv: the codes as typed, what
// the results frame and the nineteen values must read after one Check, and
// the messages the user must see, in order.
struct Marking {
    QString name;
    Codes before;  // checked first on the same engine when Code One is given
    Codes codes;
    QString caption;
    QList<Message> messages;
    std::array<QString, kFieldCount> values;

    bool Completed() const {
        return values[Index(Field::EstimatedThermalPower)] == u"(Currently Disabled)";
    }
};

// A failing test names the row, not its bytes.
inline void PrintTo(const Marking& row, std::ostream* os) {
    *os << row.name.toStdString();
}

// Every row of the file; a malformed file fails the calling test loudly.
const std::vector<Marking>& Markings();

// The sheet a run of the row must produce, with the codes as typed.
Sheet ExpectedSheet(const Marking& row);

// The row of that name.
const Marking& MarkingNamed(const char* name);

// The message a key of the file's messages column stands for:
// "not-found", "code-one-error", "no-stepping", "box-two-error",
// "box-three-error", "hang-on" or "unsupported:CHIP".
Message MessageFor(const QString& key);

}  // namespace varnel::testdata
