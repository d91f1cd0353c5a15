#include "cli/batch_input.h"

#include <poll.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include "report/table_file.h"

namespace varnel::cli {

namespace {

constexpr std::size_t kReadChunk = 64 * 1024;

bool IsBlankLine(QByteArrayView line) {
    for (const char c : line) {
        if (c != ' ' && c != '\t') {
            return false;
        }
    }
    return true;
}

// Splits a CSV record: fields separated by commas; a field that opens with a
// double quote runs to the closing quote, with "" standing for one quote.
// Fields are views into the line, or into unquoted, which holds the few
// fields whose doubled quotes had to be undone. Returns an empty reason on
// success.
QString SplitCsv(QByteArrayView line, std::vector<QByteArrayView>& fields,
                 std::vector<QByteArray>& unquoted) {
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (true) {
        if (i < n && line[i] == '"') {
            const qsizetype start = ++i;
            bool doubled = false;
            while (true) {
                if (i >= n) {
                    return QStringLiteral(
                        "a quoted field is not closed before the end of the line");
                }
                if (line[i] == '"') {
                    if (i + 1 < n && line[i + 1] == '"') {
                        doubled = true;
                        i += 2;
                        continue;
                    }
                    break;
                }
                ++i;
            }
            const QByteArrayView inside = line.sliced(start, i - start);
            if (doubled) {
                unquoted.push_back(inside.toByteArray().replace("\"\"", "\""));
                fields.push_back(unquoted.back());
            } else {
                fields.push_back(inside);
            }
            ++i;  // the closing quote
            if (i < n && line[i] != ',') {
                return QStringLiteral("text follows the closing quote of field %1")
                    .arg(fields.size());
            }
        } else {
            const qsizetype start = i;
            while (i < n && line[i] != ',') {
                if (line[i] == '"') {
                    return QStringLiteral("a quote inside unquoted field %1")
                        .arg(fields.size() + 1);
                }
                ++i;
            }
            fields.push_back(line.sliced(start, i - start));
        }
        if (i >= n) {
            return {};
        }
        ++i;  // the comma
    }
}

void SplitTabs(QByteArrayView line, std::vector<QByteArrayView>& fields) {
    qsizetype start = 0;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        if (i == line.size() || line[i] == '\t') {
            fields.push_back(line.sliced(start, i - start));
            start = i + 1;
        }
    }
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
            const auto length = static_cast<std::size_t>(newline - start);
            begin_ += length + 1;
            ++lineNumber_;
            // Measured without the line end, which may be CR LF.
            const std::size_t content =
                length > 0 && start[length - 1] == '\r' ? length - 1 : length;
            if (overlong || content > static_cast<std::size_t>(kMaxLineBytes)) {
                return Status::Overlong;
            }
            *line = QByteArrayView(start, static_cast<qsizetype>(length));
            return Status::Line;
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
            ++lineNumber_;
            const char* last = buffer_.data() + begin_;
            const std::size_t length = end_ - begin_;
            const std::size_t content =
                length > 0 && last[length - 1] == '\r' ? length - 1 : length;
            *line = QByteArrayView(last, static_cast<qsizetype>(length));
            begin_ = end_;
            if (overlong || content > static_cast<std::size_t>(kMaxLineBytes)) {
                return Status::Overlong;
            }
            return Status::Line;
        }
        if (!Fill()) {
            return stopped_ ? Status::Stopped : Status::Error;
        }
    }
}

bool IsValidUtf8(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* const end = p + bytes.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int extra = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            if (c == 0xE0) {
                low = 0xA0;  // shorter forms exist
            } else if (c == 0xED) {
                high = 0x9F;  // surrogates
            }
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            if (c == 0xF0) {
                low = 0x90;
            } else if (c == 0xF4) {
                high = 0x8F;  // beyond U+10FFFF
            }
        } else {
            return false;
        }
        if (end - p <= extra) {
            return false;
        }
        if (p[1] < low || p[1] > high) {
            return false;
        }
        for (int k = 2; k <= extra; ++k) {
            if ((p[k] & 0xC0) != 0x80) {
                return false;
            }
        }
        p += extra + 1;
    }
    return true;
}

BatchLine ParseBatchLine(QByteArrayView line, bool isFirstRecord) {
    BatchLine result;
    if (line.endsWith('\r')) {
        line.chop(1);
    }
    if (line.contains('\0')) {
        result.kind = BatchLine::Kind::Malformed;
        result.reason = QStringLiteral("the line holds a NUL byte");
        return result;
    }
    if (!IsValidUtf8(line)) {
        result.kind = BatchLine::Kind::Malformed;
        result.reason = QStringLiteral("the line is not valid UTF-8");
        return result;
    }
    if (IsBlankLine(line) || line.startsWith('#') || (isFirstRecord && line.startsWith("code1"))) {
        return result;
    }

    std::vector<QByteArrayView> fields;
    // The views into unquoted stay valid as it grows: a QByteArray keeps its
    // characters where they are when the vector moves it.
    std::vector<QByteArray> unquoted;
    fields.reserve(4);
    if (line.contains('\t')) {
        SplitTabs(line, fields);
    } else if (QString reason = SplitCsv(line, fields, unquoted); !reason.isEmpty()) {
        result.kind = BatchLine::Kind::Malformed;
        result.reason = reason;
        return result;
    }
    if (fields.size() != result.codes.size()) {
        result.kind = BatchLine::Kind::Malformed;
        result.reason =
            QStringLiteral("%1 fields where a marking has three (Code One, Code Two, Code Three)")
                .arg(fields.size());
        return result;
    }
    for (std::size_t box = 0; box < fields.size(); ++box) {
        result.codes[box] = NormaliseCode(QString::fromUtf8(fields[box]));
    }
    result.reason = OverlongCodeReason(result.codes);
    result.kind = result.reason.isEmpty() ? BatchLine::Kind::Marking : BatchLine::Kind::Malformed;
    return result;
}

}  // namespace varnel::cli
