// Feeds arbitrary bytes to varnel-decode's batch input: the line reader over
// a file descriptor, then the CSV/TSV splitter on every line. The reader must
// hand back exactly the lines of the input, refusing only those too long to
// be a marking; the splitter must give three cleaned codes that fit their
// boxes (the cleaning of each character is ParseBatchLine's test), a reason
// for every refusal, or a skip; and the batch's CSV row of
// those codes must hold no cell that a spreadsheet would run as a formula.
//
// Input layout: the bytes as they are, except that 0xFE, a count c and a byte
// b stand for kMaxLineBytes - 128 + c copies of b, so that short inputs reach
// lines on either side of the reader's limit, and two or three such runs far
// beyond it. Only the first three runs are expanded, which keeps inputs under
// a quarter of a megabyte; a later 0xFE, or one too near the end, stays as it is.

#include <sys/mman.h>
#include <unistd.h>
#include <QByteArray>
#include <QList>
#include <algorithm>
#include <cstdint>

#include "cli/batch_input.h"
#include "decode/captions.h"
#include "decode/sheet.h"
#include "decode/text.h"
#include "report/sheet_formats.h"
#include "support/csv_records.h"
#include "support/fuzz_texts.h"

namespace {

using namespace varnel;
using namespace varnel::cli;
using fuzz::Expect;

constexpr int kMaxLongRuns = 3;

QByteArray Expand(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes;
    int runs = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFE && i + 2 < size && runs < kMaxLongRuns) {
            ++runs;
            bytes.append(kMaxLineBytes - 128 + data[i + 1], static_cast<char>(data[i + 2]));
            i += 2;
        } else {
            bytes.append(static_cast<char>(data[i]));
        }
    }
    return bytes;
}

// The lines of the input as the reader must return them, worked out apart
// from it: split at LF, the last line without one kept when not empty.
QList<QByteArray> ExpectedLines(const QByteArray& input) {
    QList<QByteArray> lines = input.split('\n');
    if (input.isEmpty() || input.endsWith('\n')) {
        lines.removeLast();
    }
    return lines;
}

bool IsOverlong(const QByteArray& line) {
    const qsizetype content = line.endsWith('\r') ? line.size() - 1 : line.size();
    return content > kMaxLineBytes;
}

// Whether the bytes are UTF-8, judged apart from the parser: well-formed
// UTF-8 comes back from a round trip through text unchanged, anything else
// with U+FFFD in its place. The "x" in front keeps a byte-order mark, which
// the conversion drops at the start.
bool IsUtf8(QByteArrayView bytes) {
    const QByteArray probe = "x" + bytes.toByteArray();
    return QString::fromUtf8(probe).toUtf8() == probe;
}

void CheckParsed(const BatchLine& parsed, QByteArrayView line) {
    if (parsed.kind == BatchLine::Kind::Malformed) {
        Expect(!parsed.reason.isEmpty(), "a refused line gives no reason");
        return;
    }
    Expect(parsed.reason.isEmpty(), "a marking or a skipped line carries a reason");
    Expect(IsUtf8(line) && !line.contains('\0'), "a line that is not clean UTF-8 was taken");
    for (const QString& code : parsed.codes) {
        Expect(parsed.kind == BatchLine::Kind::Skip
                   ? code.isEmpty()
                   : code.size() <= kCodeMaxLength && NormaliseCode(code) == code,
               "a code is uncleaned, too long for its box, or set on a skipped line");
    }
}

// The CSV row the batch writes for the line, before any decoding: each code,
// and the reason of a refusal, is text to a spreadsheet.
void CheckCsvCells(const BatchLine& parsed) {
    Sheet sheet;
    sheet.codes = parsed.codes;
    std::string out;
    report::AppendCsvRow(out, sheet, parsed.reason);
    const QStringList cells = ReadCsvRecords(QString::fromUtf8(out.data(), out.size())).value(0);
    for (std::size_t box = 0; box < sheet.codes.size(); ++box) {
        Expect(cells.value(static_cast<qsizetype>(box)) == AsCsvCell(sheet.codes[box]),
               "a code changed in the CSV row");
    }
    Expect(std::none_of(cells.begin(), cells.end(), BeginsLikeFormula),
           "a CSV cell begins like a formula");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const int fd = ::memfd_create("batch", MFD_CLOEXEC);
    const QByteArray input = Expand(data, size);
    if (::ftruncate(fd, 0) != 0 ||
        ::pwrite(fd, input.constData(), input.size(), 0) != input.size() ||
        ::lseek(fd, 0, SEEK_SET) != 0) {
        fuzz::Fail("cannot prepare the input file");
    }
    const QList<QByteArray> expected = ExpectedLines(input);
    LineReader reader(fd, [] { return true; });
    bool seenRecord = false;
    QByteArrayView line;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const LineReader::Status status = reader.Next(&line);
        const bool overlong = IsOverlong(expected[i]);
        Expect(status == (overlong ? LineReader::Status::Overlong : LineReader::Status::Line) &&
                   reader.LineNumber() == i + 1,
               "the reader refused a line that fits, passed one that does not, or miscounted");
        if (overlong) {
            continue;
        }
        Expect(line == expected[i], "the reader changed a line");
        const BatchLine parsed = ParseBatchLine(line, !seenRecord);
        CheckParsed(parsed, line);
        CheckCsvCells(parsed);
        seenRecord = seenRecord || parsed.kind != BatchLine::Kind::Skip;
    }
    Expect(reader.Next(&line) == LineReader::Status::End && reader.LineNumber() == expected.size(),
           "the reader lost or invented lines");
    return 0;
}
