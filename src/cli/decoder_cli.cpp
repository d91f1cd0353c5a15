#include "decoder_cli.h"

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
#include <string>

#include "batch_input.h"
#include "decode_run.h"
#include "html_table.h"
#include "output_format.h"
#include "shell.h"
#include "text.h"

namespace varnel::cli {

namespace {

constexpr char kProgramName[] = "varnel-decode";
constexpr std::size_t kFlushThreshold = 64 * 1024;

// Standard output through one buffer, written with write(2). Remembers the
// first failure so that a full disk or a closed pipe is never reported as
// success.
class Output {
  public:
    std::string buffer;

    void FlushIfFull() {
        if (buffer.size() >= kFlushThreshold) {
            Flush();
        }
    }

    void Flush() {
        std::size_t done = 0;
        while (done < buffer.size() && errorNumber_ == 0) {
            const ssize_t n = ::write(STDOUT_FILENO, buffer.data() + done, buffer.size() - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
            } else if (n < 0 && errno != EINTR) {
                errorNumber_ = errno;
            }
        }
        buffer.clear();
    }

    // Flushes what is left; false (with a message) if anything failed.
    bool Finish() {
        Flush();
        if (errorNumber_ != 0) {
            std::fprintf(stderr, "%s: cannot write standard output: %s\n", kProgramName,
                         std::strerror(errorNumber_));
            return false;
        }
        return true;
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

int StatusOf(const Outcome& outcome) {
    if (!outcome.refusal.isEmpty()) {
        return kUsageOrInputError;
    }
    return outcome.completed ? kEveryRunCompleted : kRunStopped;
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
    const Outcome outcome = DecodeMarking(codes);

    Output out;
    if (json) {
        AppendJsonObject(out.buffer, outcome);
        out.buffer.push_back('\n');
    } else {
        AppendTextReport(out.buffer, outcome);
        std::string messages;
        for (const Message& message : outcome.messages) {
            AppendUtf8(messages, message.title);
            messages += ": ";
            AppendUtf8(messages, message.text);
            messages.push_back('\n');
        }
        std::fwrite(messages.data(), 1, messages.size(), stderr);
    }
    int status = StatusOf(outcome);
    if (!out.Finish()) {
        status = kUsageOrInputError;
    }

    if (!htmlPath.isEmpty()) {
        const QByteArray bytes =
            report::EncodeTableFile(report::BuildDefaultTable(SnapshotOf(outcome)));
        QString error;
        if (!report::WriteWholeFile(htmlPath, bytes, &error)) {
            PrintError(error.isEmpty() ? QStringLiteral("cannot write %1").arg(htmlPath) : error);
            status = kUsageOrInputError;
        }
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

int DecodeBatch(const QString& path, bool json) {
    int fd = STDIN_FILENO;
    if (path != QLatin1String("-")) {
        fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            PrintError(QStringLiteral("cannot open %1: %2")
                           .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
            return kUsageOrInputError;
        }
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        PrintError(QStringLiteral("cannot read %1: it is a folder").arg(path));
        ::close(fd);
        return kUsageOrInputError;
    }

    Output out;
    if (!json) {
        AppendCsvHeader(out.buffer);
    }
    // Before waiting for input, hand out the rows decoded so far, so that a
    // script feeding markings one at a time gets each answer at once.
    LineReader reader(fd, [&out] { out.Flush(); });
    Progress progress;

    int status = kEveryRunCompleted;
    long long refusedLines = 0;
    long long firstRefusedLine = 0;
    bool seenRecord = false;
    QByteArrayView line;
    LineReader::Status read;
    while ((read = reader.Next(&line)) != LineReader::Status::End &&
           read != LineReader::Status::Error) {
        BatchLine parsed;
        if (read == LineReader::Status::Overlong) {
            parsed.kind = BatchLine::Kind::Malformed;
            parsed.reason = QStringLiteral("the line is longer than %1 bytes").arg(kMaxLineBytes);
        } else {
            if (reader.LineNumber() == 1 && line.startsWith("\xEF\xBB\xBF")) {
                line = line.sliced(3);  // the byte-order mark some spreadsheets write
            }
            parsed = ParseBatchLine(line, !seenRecord);
        }
        if (parsed.kind == BatchLine::Kind::Skip) {
            continue;
        }
        seenRecord = true;

        Outcome outcome;
        if (parsed.kind == BatchLine::Kind::Marking) {
            outcome = DecodeMarking(parsed.codes);
        } else {
            outcome = RefusedMarking(
                parsed.codes,
                QStringLiteral("line %1: %2").arg(reader.LineNumber()).arg(parsed.reason));
            if (refusedLines++ == 0) {
                firstRefusedLine = reader.LineNumber();
            }
        }
        status = std::max(status, StatusOf(outcome));
        if (json) {
            AppendJsonObject(out.buffer, outcome);
            out.buffer.push_back('\n');
        } else {
            AppendCsvRow(out.buffer, outcome);
        }
        out.FlushIfFull();
        progress.Tick(reader.LineNumber());
    }
    progress.Done(reader.LineNumber());

    if (read == LineReader::Status::Error) {
        PrintError(QStringLiteral("cannot read %1 after line %2: %3")
                       .arg(path == QLatin1String("-") ? QStringLiteral("standard input") : path)
                       .arg(reader.LineNumber())
                       .arg(QString::fromLocal8Bit(std::strerror(reader.ErrorNumber()))));
        status = kUsageOrInputError;
    }
    if (fd != STDIN_FILENO) {
        ::close(fd);
    }
    if (refusedLines > 0) {
        PrintError(
            QStringLiteral("%1 line(s) could not be read as a marking (the first is line %2); "
                           "their rows say why")
                .arg(refusedLines)
                .arg(firstRefusedLine));
    }
    if (!out.Finish()) {
        status = kUsageOrInputError;
    }
    return status;
}

}  // namespace

int RunDecoder(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        const QByteArrayView argument(argv[i]);
        if (!IsValidUtf8(argument)) {
            return UsageError(QStringLiteral("argument %1 is not valid UTF-8").arg(i));
        }
        arguments.append(QString::fromUtf8(argument));
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Decodes the markings printed on AMD K7 and K8 processors exactly as Varnel's\n"
        "window does after the three codes are typed and Check is pressed once.\n"
        "\n"
        "Exit status: 0 every marking decoded completely, 1 a run stopped with a\n"
        "message, 2 a usage error, unreadable input or output that could not be written."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption jsonOption(
        QStringLiteral("json"),
        QStringLiteral("Write JSON: one object, or with --batch one object per line."));
    const QCommandLineOption batchOption(
        QStringLiteral("batch"),
        QStringLiteral("Decode one marking per line of <file> (- for standard input), as CSV or "
                       "tab-separated code1,code2,code3; write CSV or JSON Lines."),
        QStringLiteral("file"));
    const QCommandLineOption htmlOption(
        QStringLiteral("html"),
        QStringLiteral(
            "Also write the HTML table of the decode to <file>, as \"Generate HTML file\" "
            "does."),
        QStringLiteral("file"));
    parser.addOption(jsonOption);
    parser.addOption(batchOption);
    parser.addOption(htmlOption);
    parser.addPositionalArgument(
        QStringLiteral("code1"),
        QStringLiteral("Code One, the ordering part number (AXDA2500DKV4D)."));
    parser.addPositionalArgument(
        QStringLiteral("code2"),
        QStringLiteral("Code Two, the stepping and date line (KQXEB0345MPMW)."));
    parser.addPositionalArgument(
        QStringLiteral("code3"),
        QStringLiteral("Code Three, the line ending in the batch number."));

    if (!parser.parse(arguments)) {
        return UsageError(parser.errorText());
    }
    if (parser.isSet(helpOption) || parser.isSet(QStringLiteral("help-all"))) {
        const QByteArray help = parser.helpText().toUtf8();
        std::fwrite(help.constData(), 1, static_cast<std::size_t>(help.size()), stdout);
        return std::fflush(stdout) == 0 ? kEveryRunCompleted : kUsageOrInputError;
    }
    if (parser.isSet(versionOption)) {
        const QByteArray version =
            QStringLiteral("%1 %2\n").arg(QLatin1String(kProgramName), GetVersionString()).toUtf8();
        std::fwrite(version.constData(), 1, static_cast<std::size_t>(version.size()), stdout);
        return std::fflush(stdout) == 0 ? kEveryRunCompleted : kUsageOrInputError;
    }
    for (const QCommandLineOption& option : {batchOption, htmlOption}) {
        if (parser.values(option).size() > 1) {
            return UsageError(
                QStringLiteral("--%1 given more than once").arg(option.names().first()));
        }
    }
    const QStringList codes = parser.positionalArguments();
    const bool json = parser.isSet(jsonOption);

    if (parser.isSet(batchOption)) {
        if (!codes.isEmpty()) {
            return UsageError(QStringLiteral(
                "--batch takes its markings from the file, not from the command line"));
        }
        if (parser.isSet(htmlOption)) {
            return UsageError(QStringLiteral(
                "--html writes the table of a single marking; it cannot be used with --batch"));
        }
        return DecodeBatch(parser.value(batchOption), json);
    }
    if (codes.size() != kCodeBoxCount) {
        return UsageError(
            QStringLiteral("expected three codes (Code One, Code Two, Code Three), got %1")
                .arg(codes.size()));
    }
    if (parser.isSet(htmlOption) && parser.value(htmlOption).isEmpty()) {
        return UsageError(QStringLiteral("--html needs a file name"));
    }
    return DecodeOne(codes, json, parser.value(htmlOption));
}

}  // namespace varnel::cli
