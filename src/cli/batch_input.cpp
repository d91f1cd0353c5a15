#include "cli/batch_input.h"

#include <poll.h>
#include <unistd.h>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "report/table_file.h"

namespace varnel::cli {

namespace {

constexpr std::size_t kReadChunk = 64 * 1024;

// What one pass over the bytes of a line finds.
struct LineBytes {
    bool nul = false;
    bool nonAscii = false;
    bool tab = false;
};

LineBytes SurveyBytes(QByteArrayView line) {
    LineBytes found;
    for (const char c : line) {
        found.nul |= c == '\0';
        found.nonAscii |= (static_cast<unsigned char>(c) & 0x80) != 0;
        found.tab |= c == '\t';
    }
    return found;
}

bool IsBlankLine(QByteArrayView line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// A field as it stands in the line: a quoted field without its quotes, any
// doubled quote inside still doubled.
struct RawField {
    QByteArrayView bytes;
    bool doubledQuotes = false;
};

// The fields of a line: the first three kept, any more only counted.
struct LineFields {
    std::array<RawField, kCodeBoxCount> kept;
    qsizetype count = 0;

    void Add(RawField field) {
        if (count < static_cast<qsizetype>(kept.size())) {
            kept[static_cast<std::size_t>(count)] = field;
        }
        ++count;
    }
};

// Reads the quoted field whose opening quote is at line[at]; leaves at just
// behind its closing quote. Returns an empty reason on success.
QString ReadQuotedField(QByteArrayView line, qsizetype& at, LineFields& fields) {
    const qsizetype start = at + 1;
    bool doubled = false;
    qsizetype quote = line.indexOf('"', start);
    while (quote >= 0 && quote + 1 < line.size() && line[quote + 1] == '"') {
        doubled = true;
        quote = line.indexOf('"', quote + 2);
    }
    if (quote < 0) {
        return QStringLiteral("a quoted field is not closed before the end of the line");
    }
    fields.Add({line.sliced(start, quote - start), doubled});
    at = quote + 1;
    if (at < line.size() && line[at] != ',') {
        return QStringLiteral("text follows the closing quote of field %1").arg(fields.count);
    }
    return {};
}

// Reads the unquoted field that starts at line[at]; leaves at on the comma
// behind it or at the end of the line.
QString ReadPlainField(QByteArrayView line, qsizetype& at, LineFields& fields) {
    qsizetype comma = line.indexOf(',', at);
    if (comma < 0) {
        comma = line.size();
    }
    const QByteArrayView field = line.sliced(at, comma - at);
    if (field.contains('"')) {
        return QStringLiteral("a quote inside unquoted field %1").arg(fields.count + 1);
    }
    fields.Add({field});
    at = comma;
    return {};
}

// Splits a CSV record: fields separated by commas; a field that opens with a
// double quote runs to the closing quote, with "" standing for one quote.
// Returns an empty reason on success.
QString SplitCsv(QByteArrayView line, LineFields& fields) {
    qsizetype at = 0;
    while (true) {
        const bool quoted = at < line.size() && line[at] == '"';
        QString reason =
            quoted ? ReadQuotedField(line, at, fields) : ReadPlainField(line, at, fields);
        if (!reason.isEmpty() || at >= line.size()) {
            return reason;
        }
        ++at;  // the comma
    }
}

void SplitTabs(QByteArrayView line, LineFields& fields) {
    qsizetype start = 0;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        if (i == line.size() || line[i] == '\t') {
            fields.Add({line.sliced(start, i - start)});
            start = i + 1;
        }
    }
}

// NormaliseCode for a field of ASCII, straight from its bytes: among ASCII
// characters the invisible ones are the controls, the space and DEL, and
// upper case is A to Z. Nearly every field of a batch is ASCII, and this
// spares it the round trip through text.
QString NormaliseAscii(const RawField& field) {
    QString code(field.bytes.size(), Qt::Uninitialized);
    QChar* const start = code.data();
    QChar* to = start;
    for (qsizetype i = 0; i < field.bytes.size(); ++i) {
        const char c = field.bytes[i];
        if (c == '"' && field.doubledQuotes) {
            ++i;  // "" stands for one quote
        } else if (c <= ' ' || c == '\x7F') {
            continue;
        }
        *to++ = QLatin1Char(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
    }
    code.truncate(to - start);
    return code;
}

// The code a field gives once typed into its box.
QString CodeOf(const RawField& field, bool isAscii) {
    if (isAscii) {
        return NormaliseAscii(field);
    }
    if (!field.doubledQuotes) {
        return NormaliseCode(QString::fromUtf8(field.bytes));
    }
    return NormaliseCode(QString::fromUtf8(field.bytes.toByteArray().replace("\"\"", "\"")));
}

BatchLine Refused(QString reason) {
    BatchLine refused;
    refused.kind = BatchLine::Kind::Malformed;
    refused.reason = std::move(reason);
    return refused;
}

// Why no line with these bytes can hold a marking, whatever its fields;
// empty when it may.
QString FaultOf(QByteArrayView line, const LineBytes& bytes) {
    if (bytes.nul) {
        return QStringLiteral("the line holds a NUL byte");
    }
    // Nearly every line is ASCII, which is UTF-8 as it stands.
    if (bytes.nonAscii && !DecodeUtf8(line)) {
        return QStringLiteral("the line is not valid UTF-8");
    }
    return {};
}

bool IsSkipped(QByteArrayView line, bool isFirstRecord) {
    return IsBlankLine(line) || line.startsWith('#') || (isFirstRecord && line.startsWith("code1"));
}

}  // namespace

LineReader::LineReader(int fd, std::function<bool()> beforeRead)
    : fd_(fd), beforeRead_(std::move(beforeRead)), buffer_(kMaxLineBytes + kReadChunk + 2) {}

bool LineReader::Fill() {
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (beforeRead_ && !beforeRead_()) {
        stopped_ = true;
        return false;
    }
    return ReadMore();
}

bool LineReader::ReadMore() {
    // read() rather than a stdio read: it returns what a pipe or terminal has
    // now, so a marking fed line by line is answered without waiting for
    // more input.
    while (true) {
        const ssize_t got = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
        if (got > 0) {
            end_ += static_cast<std::size_t>(got);
            return true;
        }
        if (got == 0) {
            atEof_ = true;
            return true;
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            // The parent left the input non-blocking: wait until it has more.
            errorNumber_ = report::WaitUntilReady(fd_, POLLIN);
            if (errorNumber_ != 0) {
                return false;
            }
        } else if (errno != EINTR) {
            errorNumber_ = errno;
            return false;
        }
    }
}

LineReader::Status LineReader::Next(QByteArrayView* line) {
    bool overlong = false;
    while (true) {
        const char* start = buffer_.data() + begin_;
        const auto* newline = static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
        if (newline != nullptr) {
            return Take(static_cast<std::size_t>(newline - start), 1, overlong, line);
        }
        if (end_ - begin_ > static_cast<std::size_t>(kMaxLineBytes) + 1) {
            // Far too long to be a marking: drop what we hold and read on to
            // the line's end.
            overlong = true;
            begin_ = end_ = 0;
        }
        if (atEof_) {
            if (end_ == begin_ && !overlong) {
                return Status::End;
            }
            return Take(end_ - begin_, 0, overlong, line);
        }
        if (!Fill()) {
            return stopped_ ? Status::Stopped : Status::Error;
        }
    }
}

// Hands out the next length bytes as a line and moves on past them and the
// ending behind them (the LF, or nothing at the end of the input).
LineReader::Status LineReader::Take(std::size_t length, std::size_t ending, bool overlong,
                                    QByteArrayView* line) {
    const char* start = buffer_.data() + begin_;
    begin_ += length + ending;
    ++lineNumber_;
    *line = QByteArrayView(start, static_cast<qsizetype>(length));
    // Measured without the line end, which may be CR LF.
    const std::size_t content = length > 0 && start[length - 1] == '\r' ? length - 1 : length;
    return overlong || content > static_cast<std::size_t>(kMaxLineBytes) ? Status::Overlong
                                                                         : Status::Line;
}

std::optional<QString> DecodeUtf8(QByteArrayView bytes) {
    // Stateless: a sequence cut short at the end is an error, not held back
    // for more input.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return text;
}

namespace {

// A count with its noun, singular for one: "1 field", "2 fields".
QString Counted(long long count, QStringView noun) {
    return QString::number(count) + u' ' + noun.toString() +
           (count == 1 ? QString() : QStringLiteral("s"));
}

// Why a line of the wrong number of fields holds no marking. Codes
// separated by spaces, as they are copied from a listing, make one field.
QString FieldCountFault(const LineFields& fields) {
    if (fields.count == 1 && fields.kept[0].bytes.trimmed().contains(' ')) {
        return QStringLiteral("separate the three codes with commas or tabs");
    }
    return Counted(fields.count, u"field") +
           QStringLiteral(" where a marking has three (Code One, Code Two, Code Three)");
}

}  // namespace

BatchLine ParseBatchLine(QByteArrayView line, bool isFirstRecord) {
    if (line.endsWith('\r')) {
        line.chop(1);
    }
    const LineBytes bytes = SurveyBytes(line);
    if (QString fault = FaultOf(line, bytes); !fault.isEmpty()) {
        return Refused(std::move(fault));
    }
    if (IsSkipped(line, isFirstRecord)) {
        return {};
    }
    LineFields fields;
    if (bytes.tab) {
        SplitTabs(line, fields);
    } else if (QString reason = SplitCsv(line, fields); !reason.isEmpty()) {
        return Refused(std::move(reason));
    }
    if (fields.count != kCodeBoxCount) {
        return Refused(FieldCountFault(fields));
    }
    BatchLine result;
    for (std::size_t box = 0; box < result.codes.size(); ++box) {
        result.codes[box] = CodeOf(fields.kept[box], !bytes.nonAscii);
    }
    result.reason = OverlongCodeReason(result.codes);
    result.kind = result.reason.isEmpty() ? BatchLine::Kind::Marking : BatchLine::Kind::Malformed;
    return result;
}

}  // namespace varnel::cli
