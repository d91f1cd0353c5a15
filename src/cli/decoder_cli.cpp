#include "cli/decoder_cli.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "cli/batch_input.h"
#include "cli/decode_run.h"
#include "decode/program.h"
#include "decode/text.h"
#include "report/html_table.h"
#include "report/sheet_formats.h"
#include "report/table_file.h"

namespace varnel::cli {

namespace {

using report::AppendCsvHeader;
using report::AppendCsvRow;
using report::AppendJsonObject;
using report::AppendTextReport;
using report::AppendUtf8;

constexpr char kProgramName[] = "varnel-decode";
constexpr std::size_t kFlushThreshold = 64 * 1024;

// Standard output through one buffer. Remembers the first failure, so that a
// full disk is never reported as success and a batch stops as soon as
// nothing more can be written.
class Output {
  public:
    std::string buffer;

    void FlushIfFull() {
        if (buffer.size() >= kFlushThreshold) {
            Flush();
        }
    }

    void Flush() {
        if (errorNumber_ == 0) {
            errorNumber_ = report::WriteAll(STDOUT_FILENO, buffer.data(), buffer.size());
        }
        buffer.clear();
    }

    bool Failed() const { return errorNumber_ != 0; }
    // The reader went away (with SIGPIPE ignored, as some shells and services
    // run their children). Nobody is left to read a message: end quietly.
    bool ReaderGone() const { return errorNumber_ == EPIPE; }

    // Flushes what is left; false if anything failed, with a message unless
    // the reader has gone.
    bool Finish() {
        Flush();
        if (Failed() && !ReaderGone()) {
            std::fprintf(stderr, "%s: cannot write standard output: %s\n", kProgramName,
                         std::strerror(errorNumber_));
        }
        return !Failed();
    }

  private:
    int errorNumber_ = 0;
};

void PrintError(const QString& text) {
    const QByteArray bytes =
        QStringLiteral("%1: %2\n").arg(QLatin1String(kProgramName), text).toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
}

int UsageError(const QString& text) {
    PrintError(text);
    std::fprintf(stderr, "Try '%s --help' for more information.\n", kProgramName);
    return kUsageOrInputError;
}

QString ErrorText(int errorNumber) {
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

int StatusOf(const Sheet& sheet, QStringView refusal = {}) {
    if (!refusal.isEmpty()) {
        return kUsageOrInputError;
    }
    return sheet.completed ? kEveryRunCompleted : kRunStopped;
}

// Text that goes to standard output alone, such as --help.
int PrintAndFinish(const QString& text) {
    Output out;
    out.buffer = text.toStdString();
    return out.Finish() ? kEveryRunCompleted : kUsageOrInputError;
}

// The messages the window would show, as "Title: text" lines.
void PrintMessages(const Sheet& sheet) {
    std::string messages;
    for (const Message& message : sheet.messages) {
        AppendUtf8(messages, message.title);
        messages += ": ";
        AppendUtf8(messages, message.text);
        messages.push_back('\n');
    }
    std::fwrite(messages.data(), 1, messages.size(), stderr);
}

// The table of the run, written where the user named. A reader that has
// gone from a pipe named here is no news either.
int WriteHtmlTable(const QString& path, const Sheet& sheet) {
    const QByteArray bytes = report::EncodeTableFile(report::BuildDefaultTable(sheet));
    const report::WriteResult written =
        report::WriteWholeFile(path, bytes, report::PathPolicy::NamedByUser);
    if (written.Succeeded()) {
        return kEveryRunCompleted;
    }
    if (written.errorNumber != EPIPE) {
        PrintError(QStringLiteral("cannot write %1: %2").arg(path, written.reason));
    }
    return kUsageOrInputError;
}

int DecodeOne(const QStringList& typed, bool json, const QString& htmlPath) {
    Codes codes;
    for (std::size_t box = 0; box < codes.size(); ++box) {
        codes[box] = NormaliseCode(typed[static_cast<qsizetype>(box)]);
    }
    if (const QString reason = OverlongCodeReason(codes); !reason.isEmpty()) {
        PrintError(reason);
        return kUsageOrInputError;
    }
    MarkingDecoder decoder;
    const Sheet& sheet = decoder.Decode(codes);

    Output out;
    if (json) {
        AppendJsonObject(out.buffer, sheet);
        out.buffer.push_back('\n');
    } else {
        // A stopped run has no results to show: a script must not take the
        // empty rows of a waiting window for an answer.
        if (sheet.completed) {
            AppendTextReport(out.buffer, sheet);
        }
        PrintMessages(sheet);
    }
    int status = StatusOf(sheet);
    if (!out.Finish()) {
        if (out.ReaderGone()) {
            return kUsageOrInputError;
        }
        status = kUsageOrInputError;
    }
    if (!htmlPath.isEmpty()) {
        status = std::max(status, WriteHtmlTable(htmlPath, sheet));
    }
    return status;
}

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

// The descriptor to read a batch from, or -1 after saying why there is none.
int OpenBatchInput(const QString& path, bool inputClosed) {
    if (IsStandardInput(path) && inputClosed) {
        PrintError(
            QStringLiteral("standard input is closed; give the markings on it or name "
                           "a file after --batch"));
        return -1;
    }
    const int fd = IsStandardInput(path)
                       ? STDIN_FILENO
                       : ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
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
    return decoder.Refuse(parsed.codes);
}

// Decodes line after line until the input ends, fails, or nothing more can
// be written. Returns how reading ended.
LineReader::Status DecodeLines(LineReader& reader, Output& out, bool json, BatchTally& tally) {
    Progress progress;
    MarkingDecoder decoder;
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
        if (json) {
            AppendJsonObject(out.buffer, sheet, refusal);
            out.buffer.push_back('\n');
        } else {
            AppendCsvRow(out.buffer, sheet, refusal);
        }
        out.FlushIfFull();
        progress.Tick(reader.LineNumber());
    }
    progress.Done(reader.LineNumber());
    return read;
}

void ReportRefusedLines(const BatchTally& tally) {
    if (tally.refusedLines > 0) {
        PrintError(
            QStringLiteral("%1 line(s) could not be read as a marking (the first is line %2); "
                           "their rows say why")
                .arg(tally.refusedLines)
                .arg(tally.firstRefusedLine));
    }
}

int DecodeBatch(const QString& path, bool json, bool inputClosed) {
    const int fd = OpenBatchInput(path, inputClosed);
    if (fd < 0) {
        return kUsageOrInputError;
    }
    Output out;
    if (!json) {
        AppendCsvHeader(out.buffer);
    }
    // Before waiting for input, hand out the rows decoded so far, so that a
    // script feeding markings one at a time gets each answer at once; and
    // wait for none once they cannot be written.
    LineReader reader(fd, [&out] {
        out.Flush();
        return !out.Failed();
    });
    BatchTally tally;
    const LineReader::Status read = DecodeLines(reader, out, json, tally);
    if (fd != STDIN_FILENO) {
        ::close(fd);
    }
    if (out.ReaderGone()) {
        return kUsageOrInputError;
    }
    if (read == LineReader::Status::Error) {
        PrintError(QStringLiteral("cannot read %1 after line %2: %3")
                       .arg(InputName(path))
                       .arg(reader.LineNumber())
                       .arg(ErrorText(reader.ErrorNumber())));
        tally.status = kUsageOrInputError;
    }
    ReportRefusedLines(tally);
    return out.Finish() ? tally.status : kUsageOrInputError;
}

// The arguments as text; empty when all are UTF-8, else the complaint.
QString ReadArguments(int argc, char** argv, QStringList& arguments) {
    for (int i = 0; i < argc; ++i) {
        std::optional<QString> argument = DecodeUtf8(argv[i]);
        if (!argument) {
            return QStringLiteral("argument %1 is not valid UTF-8").arg(i);
        }
        arguments.append(*std::move(argument));
    }
    return {};
}

void DescribeOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral(
        "Decodes the markings printed on AMD K7 and K8 processors exactly as Varnel's\n"
        "window does after the three codes are typed and Check is pressed once.\n"
        "\n"
        "Exit status: 0 every marking decoded completely, 1 a run stopped with a\n"
        "message, 2 a usage error, unreadable input or output that could not be written."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(
        {QStringLiteral("json"),
         QStringLiteral("Write JSON: one object, or with --batch one object per line.")});
    parser.addOption(
        {QStringLiteral("batch"),
         QStringLiteral("Decode one marking per line of <file> (- for standard input), as CSV or "
                        "tab-separated code1,code2,code3; write CSV or JSON Lines."),
         QStringLiteral("file")});
    parser.addOption({QStringLiteral("html"),
                      QStringLiteral("Also write the HTML table of the decode to <file>, as "
                                     "\"Generate HTML file\" does."),
                      QStringLiteral("file")});
    parser.addPositionalArgument(
        QStringLiteral("code1"),
        QStringLiteral("Code One, the ordering part number (AXDA2500DKV4D)."));
    parser.addPositionalArgument(
        QStringLiteral("code2"),
        QStringLiteral("Code Two, the stepping and date line (KQXEB0345MPMW)."));
    parser.addPositionalArgument(
        QStringLiteral("code3"),
        QStringLiteral("Code Three, the line ending in the batch number."));
}

// Decodes what the parsed command line asks for: a batch or one marking.
int DecodeAsAsked(const QCommandLineParser& parser, StandardStreams streams) {
    const QString batch = QStringLiteral("batch");
    const QString html = QStringLiteral("html");
    for (const QString& option : {batch, html}) {
        if (parser.values(option).size() > 1) {
            return UsageError(QStringLiteral("--%1 given more than once").arg(option));
        }
    }
    const QStringList codes = parser.positionalArguments();
    const bool json = parser.isSet(QStringLiteral("json"));
    if (parser.isSet(batch)) {
        if (!codes.isEmpty()) {
            return UsageError(QStringLiteral(
                "--batch takes its markings from the file, not from the command line"));
        }
        if (parser.isSet(html)) {
            return UsageError(QStringLiteral(
                "--html writes the table of a single marking; it cannot be used with --batch"));
        }
        return DecodeBatch(parser.value(batch), json, streams.inputClosed);
    }
    if (codes.size() != kCodeBoxCount) {
        return UsageError(
            QStringLiteral("expected three codes (Code One, Code Two, Code Three), got %1")
                .arg(codes.size()));
    }
    if (parser.isSet(html) && parser.value(html).isEmpty()) {
        return UsageError(QStringLiteral("--html needs a file name"));
    }
    return DecodeOne(codes, json, parser.value(html));
}

}  // namespace

StandardStreams ClaimStandardStreams() {
    bool closed[3] = {};
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            closed[fd] = true;
            // Takes the lowest free number, which is fd itself.
            ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        }
    }
    return {closed[STDIN_FILENO], closed[STDOUT_FILENO]};
}

int RunDecoder(int argc, char** argv, StandardStreams streams) {
    if (streams.outputClosed) {
        PrintError(QStringLiteral("standard output is closed; results have nowhere to go"));
        return kUsageOrInputError;
    }
    QStringList arguments;
    if (const QString complaint = ReadArguments(argc, argv, arguments); !complaint.isEmpty()) {
        return UsageError(complaint);
    }
    QCommandLineParser parser;
    DescribeOptions(parser);
    if (!parser.parse(arguments)) {
        return UsageError(parser.errorText());
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        return PrintAndFinish(parser.helpText());
    }
    if (parser.isSet(QStringLiteral("version"))) {
        return PrintAndFinish(
            QStringLiteral("%1 %2\n").arg(QLatin1String(kProgramName), GetVersionString()));
    }
    return DecodeAsAsked(parser, streams);
}

}  // namespace varnel::cli
