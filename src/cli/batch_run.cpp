#include "cli/batch_run.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <optional>

#include "catalogue/catalogue.h"
#include "catalogue/comparison.h"
#include "cli/batch_input.h"
#include "cli/decode_run.h"
#include "cli/decoder_cli.h"
#include "cli/streams.h"
#include "report/sheet_formats.h"

namespace varnel::cli {

namespace {

// Shows how far a long batch has got, at most a few times a second.
class Progress {
  public:
    Progress() : enabled_(::isatty(STDERR_FILENO) == 1) { timer_.start(); }

    void Tick(long long lines) {
        if (!enabled_ || (lines & 1023) != 0 || timer_.elapsed() < 250) {
            return;
        }
        timer_.restart();
        std::fprintf(stderr, "\r%s: %lld lines", kProgramName, lines);
        shown_ = true;
    }

    void Done(long long lines) {
        if (shown_) {
            std::fprintf(stderr, "\r%s: %lld lines\n", kProgramName, lines);
        }
    }

  private:
    bool enabled_;
    bool shown_ = false;
    QElapsedTimer timer_;
};

bool IsStandardInput(const QString& path) {
    return path == QLatin1String("-");
}

QString InputName(const QString& path) {
    return IsStandardInput(path) ? QStringLiteral("standard input") : path;
}

int OpenForReading(const QString& path) {
    return IsStandardInput(path)
               ? STDIN_FILENO
               : ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
}

// The descriptor to read a batch from, or -1 after saying why there is none.
int OpenBatchInput(const QString& path, bool inputClosed) {
    if (IsStandardInput(path) && inputClosed) {
        PrintError(
            QStringLiteral("standard input is closed; give the markings on it or name "
                           "a file after --batch"));
        return -1;
    }
    const int fd = OpenForReading(path);
    if (fd < 0) {
        PrintError(QStringLiteral("cannot open %1: %2").arg(path, ErrorText(errno)));
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        PrintError(QStringLiteral("cannot read %1: it is a folder").arg(path));
        ::close(fd);
        return -1;
    }
    return fd;
}

int StatusOf(const Sheet& sheet, QStringView refusal) {
    if (!refusal.isEmpty()) {
        return kUsageOrInputError;
    }
    return sheet.completed ? kEveryRunCompleted : kRunStopped;
}

// How the lines of a batch went, for the exit status and the closing summary.
struct BatchTally {
    int status = kEveryRunCompleted;
    long long refusedLines = 0;
    long long firstRefusedLine = 0;
};

BatchLine ReadBatchRecord(LineReader::Status read, QByteArrayView line, long long lineNumber,
                          bool isFirstRecord) {
    if (read == LineReader::Status::Overlong) {
        return {BatchLine::Kind::Malformed,
                {},
                QStringLiteral("the line is longer than %1 bytes").arg(kMaxLineBytes)};
    }
    if (lineNumber == 1 && line.startsWith("\xEF\xBB\xBF")) {
        line = line.sliced(3);  // the byte-order mark some spreadsheets write
    }
    return ParseBatchLine(line, isFirstRecord);
}

// The sheet of one record; a line that holds no marking gets the untouched
// window and the reason in refusal.
const Sheet& DecodeRecord(MarkingDecoder& decoder, const BatchLine& parsed, long long lineNumber,
                          BatchTally& tally, QString& refusal) {
    refusal.clear();
    if (parsed.kind == BatchLine::Kind::Marking) {
        return decoder.Decode(parsed.codes);
    }
    if (tally.refusedLines++ == 0) {
        tally.firstRefusedLine = lineNumber;
    }
    refusal = QStringLiteral("line %1: %2").arg(lineNumber).arg(parsed.reason);
    // A code too long for its box, or a line that holds no three codes.
    const int overlong = OverlongBox(parsed.codes);
    return overlong >= 0 ? decoder.Refuse(parsed.codes, StopReason::OverlongCode, overlong + 1)
                         : decoder.Refuse(parsed.codes, StopReason::UnreadableBatchLine, 0);
}

// Writes one record's row. The catalogue is read only for outputs that
// carry it, and each marking is held against it once.
class RecordWriter {
  public:
    explicit RecordWriter(const BatchRequest& request) : request_(request) {
        if (request.json || request.catalogueColumns) {
            comparer_.emplace(catalogue::Catalogue::Builtin());
        }
    }

    void Write(Output& out, const Sheet& sheet, QStringView refusal) {
        if (request_.json) {
            report::AppendJsonObject(out.buffer, sheet, comparer_->Compare(sheet), refusal);
            out.buffer.push_back('\n');
        } else if (comparer_) {
            const catalogue::Comparison comparison = comparer_->Compare(sheet);
            report::AppendCsvRow(out.buffer, sheet, refusal, &comparison);
        } else {
            report::AppendCsvRow(out.buffer, sheet, refusal);
        }
        out.FlushIfFull();
    }

  private:
    const BatchRequest& request_;
    std::optional<catalogue::Comparer> comparer_;
};

// Decodes line after line until the input ends, fails, or nothing more can
// be written. Returns how reading ended.
LineReader::Status DecodeLines(LineReader& reader, Output& out, const BatchRequest& request,
                               BatchTally& tally) {
    Progress progress;
    MarkingDecoder decoder;
    RecordWriter writer(request);
    QString refusal;
    bool seenRecord = false;
    QByteArrayView line;
    LineReader::Status read = LineReader::Status::End;
    while (!out.Failed() && ((read = reader.Next(&line)) == LineReader::Status::Line ||
                             read == LineReader::Status::Overlong)) {
        const BatchLine parsed = ReadBatchRecord(read, line, reader.LineNumber(), !seenRecord);
        if (parsed.kind == BatchLine::Kind::Skip) {
            continue;
        }
        seenRecord = true;
        const Sheet& sheet = DecodeRecord(decoder, parsed, reader.LineNumber(), tally, refusal);
        tally.status = std::max(tally.status, StatusOf(sheet, refusal));
        writer.Write(out, sheet, refusal);
        progress.Tick(reader.LineNumber());
    }
    progress.Done(reader.LineNumber());
    return read;
}

// The closing words on standard error; returns the exit status.
int Conclude(const BatchRequest& request, const LineReader& reader, LineReader::Status read,
             BatchTally tally) {
    if (read == LineReader::Status::Error) {
        PrintError(QStringLiteral("cannot read %1 after line %2: %3")
                       .arg(InputName(request.path))
                       .arg(reader.LineNumber())
                       .arg(ErrorText(reader.ErrorNumber())));
        tally.status = kUsageOrInputError;
    }
    if (tally.refusedLines == 1) {
        PrintError(
            QStringLiteral("1 line could not be read as a marking (line %1); its row says why")
                .arg(tally.firstRefusedLine));
    } else if (tally.refusedLines > 1) {
        PrintError(QStringLiteral("%1 lines could not be read as a marking (the first is line %2); "
                                  "their rows say why")
                       .arg(tally.refusedLines)
                       .arg(tally.firstRefusedLine));
    }
    return tally.status;
}

void AppendHeader(std::string& out, const BatchRequest& request) {
    report::AppendCsvHeader(
        out,
        request.catalogueColumns ? report::CsvColumns::WithCatalogue : report::CsvColumns::Decode,
        request.keyHeader ? report::CsvNames::Keys : report::CsvNames::Captions);
}

}  // namespace

int DecodeBatch(const BatchRequest& request) {
    const int fd = OpenBatchInput(request.path, request.inputClosed);
    if (fd < 0) {
        return kUsageOrInputError;
    }
    Output out;
    if (!request.json) {
        AppendHeader(out.buffer, request);
    }
    // Before waiting for input, hand out the rows decoded so far, so that a
    // script feeding markings one at a time gets each answer at once; and
    // wait for none once they cannot be written.
    LineReader reader(fd, [&out] {
        out.Flush();
        return !out.Failed();
    });
    BatchTally tally;
    const LineReader::Status read = DecodeLines(reader, out, request, tally);
    if (fd != STDIN_FILENO) {
        ::close(fd);
    }
    if (out.ReaderGone()) {
        return kUsageOrInputError;
    }
    const int status = Conclude(request, reader, read, tally);
    return out.Finish() ? status : kUsageOrInputError;
}

}  // namespace varnel::cli
