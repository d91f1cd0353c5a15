#pragma once

#include <QByteArrayView>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "cli/decode_run.h"
#include "decode/text.h"

namespace varnel::cli {

// The longest input line taken as a marking; three codes of thirteen
// characters need a few dozen bytes, so anything near this is not a marking.
inline constexpr qsizetype kMaxLineBytes = 64 * 1024;

// Reads a stream line by line through one fixed buffer. A line longer than
// kMaxLineBytes is skipped to its end and reported, never held, so memory
// stays flat however long the input or its lines.
class LineReader {
  public:
    // Stopped: beforeRead said not to read on.
    enum class Status { Line, Overlong, End, Error, Stopped };

    // Reads the open file descriptor fd; beforeRead runs whenever the reader
    // is about to wait for more input (the place to flush pending output) and
    // returns whether to read on.
    LineReader(int fd, std::function<bool()> beforeRead);

    // The next line without its LF (a CR before it stays: the parser drops
    // it). The view lives until the next call.
    Status Next(QByteArrayView* line);
    // The number of the line last returned, from 1.
    long long LineNumber() const { return lineNumber_; }
    // errno of a read failure.
    int ErrorNumber() const { return errorNumber_; }

  private:
    bool Fill();
    bool ReadMore();
    Status Take(std::size_t length, std::size_t ending, bool overlong, QByteArrayView* line);

    int fd_;
    std::function<bool()> beforeRead_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool atEof_ = false;
    bool stopped_ = false;
    int errorNumber_ = 0;
    long long lineNumber_ = 0;
};

// The text of bytes that are well-formed UTF-8 (no stray continuation bytes,
// no overlong forms, no surrogates, nothing above U+10FFFF, nothing cut
// short); none for any other bytes. A byte-order mark in front is dropped,
// as QString::fromUtf8 drops it.
std::optional<QString> DecodeUtf8(QByteArrayView bytes);

struct BatchLine {
    enum class Kind { Skip, Marking, Malformed };
    Kind kind = Kind::Skip;
    Codes codes;     // normalised as the code boxes would hold them
    QString reason;  // why a malformed line was refused
};

// One line of a batch: three codes as CSV (quoted fields allowed) or, when
// the line holds a tab, separated by tabs. Blank lines and "#" comments are
// skipped, and so is a header starting with "code1" when it is the first
// record (isFirstRecord). A marking must fit on its line.
BatchLine ParseBatchLine(QByteArrayView line, bool isFirstRecord);

}  // namespace varnel::cli
