#include "cli/streams.h"

#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/decoder_cli.h"
#include "report/table_file.h"

namespace varnel::cli {

namespace {

void WriteToStandardError(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
}

// The text on one line: every run of line breaks becomes one space.
QString OnOneLine(QStringView text) {
    QString line;
    line.reserve(text.size());
    bool inBreak = false;
    for (const QChar c : text) {
        const bool isBreak = c == u'\r' || c == u'\n';
        if (!isBreak) {
            line += c;
        } else if (!inBreak) {
            line += u' ';
        }
        inBreak = isBreak;
    }
    return line;
}

}  // namespace

void Output::Flush() {
    if (errorNumber_ == 0) {
        errorNumber_ = report::WriteAll(STDOUT_FILENO, buffer.data(), buffer.size());
    }
    buffer.clear();
}

bool Output::ReaderGone() const {
    return errorNumber_ == EPIPE;
}

bool Output::Finish() {
    Flush();
    if (Failed() && !ReaderGone()) {
        std::fprintf(stderr, "%s: cannot write standard output: %s\n", kProgramName,
                     std::strerror(errorNumber_));
    }
    return !Failed();
}

void PrintError(const QString& text) {
    WriteToStandardError(QStringLiteral("%1: %2\n").arg(QLatin1String(kProgramName), text));
}

int UsageError(const QString& text) {
    PrintError(text);
    std::fprintf(stderr, "Try '%s --help' for more information.\n", kProgramName);
    return kUsageOrInputError;
}

QString ErrorText(int errorNumber) {
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

namespace {

// A message that asks (Yes or No) ends on its question; a command line
// answers none, so the line leaves that closing question out.
QStringView WithoutClosingQuestion(const Message& message) {
    const QStringView text = message.text;
    const qsizetype paragraph = text.lastIndexOf(u"\r\n\r\n");
    if (message.buttons == MessageButtons::Ok || paragraph < 0 || !text.trimmed().endsWith(u'?')) {
        return text;
    }
    return text.first(paragraph);
}

}  // namespace

void PrintMessages(const Sheet& sheet) {
    QString lines;
    for (const Message& message : sheet.messages) {
        lines += QLatin1String(kProgramName) + QStringLiteral(": ") + OnOneLine(message.title) +
                 QStringLiteral(": ") + OnOneLine(WithoutClosingQuestion(message)) + u'\n';
    }
    WriteToStandardError(lines);
}

}  // namespace varnel::cli
