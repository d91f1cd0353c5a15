#include "cli/decoder_cli.h"

#include <fcntl.h>
#include <unistd.h>
#include <QCommandLineParser>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>
#include <utility>

#include "catalogue/catalogue.h"
#include "catalogue/comparison.h"
#include "cli/batch_input.h"
#include "cli/batch_run.h"
#include "cli/decode_run.h"
#include "cli/find_parts.h"
#include "cli/streams.h"
#include "decode/program.h"
#include "decode/text.h"
#include "report/html_table.h"
#include "report/sheet_formats.h"
#include "report/table_file.h"

namespace varnel::cli {

namespace {

// What the command line asks for.
struct Request {
    bool json = false;
    bool catalogueColumns = false;
    bool keyHeader = false;
    std::optional<QString> batch;
    std::optional<QString> find;
    std::optional<QString> html;
    QStringList codes;
};

// The option names as the parser knows them.
const QString kHelp = QStringLiteral("help");
const QString kVersion = QStringLiteral("version");
const QString kJson = QStringLiteral("json");
const QString kBatch = QStringLiteral("batch");
const QString kCatalogue = QStringLiteral("catalogue");
const QString kFind = QStringLiteral("find");
const QString kKeys = QStringLiteral("keys");
const QString kHtml = QStringLiteral("html");

// Text that goes to standard output alone, such as --help.
int PrintAndFinish(const QString& text) {
    Output out;
    report::AppendUtf8(out.buffer, text);
    return out.Finish() ? kEveryRunCompleted : kUsageOrInputError;
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

// The run as text: the results, then what the catalogue says of them. A
// stopped run has no results to show: a script must not take the empty rows
// of a waiting window for an answer; its messages say why. But when the
// catalogue knows the part, what it knows is a real result and goes to
// standard output; when it does not, the near OPNs go with the messages.
void AppendRunText(Output& out, const Sheet& sheet, const catalogue::Comparison& comparison) {
    if (sheet.completed) {
        report::AppendTextReport(out.buffer, sheet);
        report::AppendCatalogueText(out.buffer, sheet, comparison);
    } else if (comparison.part != nullptr) {
        report::AppendCatalogueText(out.buffer, sheet, comparison);
        out.buffer.erase(0, 1);  // nothing above it to keep apart from
    }
    PrintMessages(sheet);
    if (!sheet.completed && comparison.part == nullptr && !comparison.nearOpns.isEmpty()) {
        PrintError(QStringLiteral("%1 is not in the catalogue; near: %2")
                       .arg(sheet.codes[0], comparison.nearOpns.join(QStringLiteral(", "))));
    }
}

// The run on standard output: JSON, or the results as text. Returns the
// exit status of the writing; readerGone tells whether anyone is left to
// read.
int WriteRun(const Sheet& sheet, bool json, bool& readerGone) {
    Output out;
    catalogue::Comparer comparer(catalogue::Catalogue::Builtin());
    const catalogue::Comparison comparison = comparer.Compare(sheet);
    if (json) {
        report::AppendJsonObject(out.buffer, sheet, comparison);
        out.buffer.push_back('\n');
    } else {
        AppendRunText(out, sheet, comparison);
    }
    const bool written = out.Finish();
    readerGone = out.ReaderGone();
    return written ? kEveryRunCompleted : kUsageOrInputError;
}

int DecodeOne(const Request& request) {
    Codes codes;
    for (std::size_t box = 0; box < codes.size(); ++box) {
        codes[box] = NormaliseCode(request.codes[static_cast<qsizetype>(box)]);
    }
    if (const QString reason = OverlongCodeReason(codes); !reason.isEmpty()) {
        PrintError(reason);
        return kUsageOrInputError;
    }
    MarkingDecoder decoder;
    const Sheet& sheet = decoder.Decode(codes);
    bool readerGone = false;
    int status = std::max<int>(sheet.completed ? kEveryRunCompleted : kRunStopped,
                               WriteRun(sheet, request.json, readerGone));
    if (readerGone) {
        return kUsageOrInputError;  // nobody is left to want the table either
    }
    if (request.html) {
        status = std::max(status, WriteHtmlTable(*request.html, sheet));
    }
    return status;
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

// The three codes as they stand on the chip, top line first.
void DescribeCodes(QCommandLineParser& parser) {
    const std::array<std::pair<QString, QString>, 3> codes{{
        {QStringLiteral("code1"),
         QStringLiteral("Code One, the ordering part number (AXDA2500DKV4D).")},
        {QStringLiteral("code2"),
         QStringLiteral("Code Two, the stepping and date line (KQXEB0345MPMW).")},
        {QStringLiteral("code3"),
         QStringLiteral("Code Three, the line ending in the batch number.")},
    }};
    for (const auto& [name, description] : codes) {
        parser.addPositionalArgument(name, description);
    }
}

void DescribeOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral(
        "Decodes the markings printed on AMD K7 and K8 processors exactly as Varnel's\n"
        "window does after the three codes are typed and Check is pressed once, and\n"
        "holds them against a sourced catalogue of real parts.\n"
        "\n"
        "Exit status: 0 every marking decoded completely, 1 a run stopped with a\n"
        "message (or --find matched nothing), 2 a usage error, unreadable input or\n"
        "output that could not be written."));
    parser.addOptions({
        {{QStringLiteral("h"), kHelp}, QStringLiteral("Displays this help.")},
        {{QStringLiteral("v"), QStringLiteral("V"), kVersion},
         QStringLiteral("Displays version information.")},
        {kJson, QStringLiteral("Write JSON: one object, or with --batch or --find one object per "
                               "line.")},
        {kBatch,
         QStringLiteral("Decode one marking per line of <file> (- for standard input), as CSV or "
                        "tab-separated code1,code2,code3; write CSV or JSON Lines."),
         QStringLiteral("file")},
        {kCatalogue,
         QStringLiteral("With --batch: add the catalogue's facts of each part (catalogue_*) and "
                        "the results that differ from them (differs) to the CSV.")},
        {kKeys,
         QStringLiteral("With --batch: head the CSV with the JSON's keys (code1, core, l2_cache, "
                        "...) in place of the captions, for csvkit, pandas or awk.")},
        {kFind,
         QStringLiteral("List the catalogue's parts whose OPN, family, core or rating holds "
                        "<text>."),
         QStringLiteral("text")},
        {kHtml,
         QStringLiteral("Also write the HTML table of the decode to <file>, as \"Generate HTML "
                        "file\" does."),
         QStringLiteral("file")},
    });
    DescribeCodes(parser);
}

// Qt's help with the three ways to run the program in place of its one
// usage line, and examples after it.
QString HelpText(const QCommandLineParser& parser) {
    QString text = parser.helpText();
    text.remove(0, text.indexOf(u'\n') + 1);
    return QStringLiteral(
               "Usage: varnel-decode [--json] [--html <file>] code1 code2 code3\n"
               "       varnel-decode [--json | --keys] [--catalogue] --batch <file>\n"
               "       varnel-decode [--json] --find <text>\n") +
           text +
           QStringLiteral(
               "\nExamples:\n"
               "  varnel-decode AXDA2500DKV4D KQXEB0345MPMW Y3121234\n"
               "  varnel-decode --json ADA3700DAA5BN CBBHD0501APAW 1234 | jq .catalogue.differs\n"
               "  varnel-decode --keys --catalogue --batch markings.csv > decoded.csv\n");
}

// The request the parsed command line makes, or the complaint.
QString ReadRequest(const QCommandLineParser& parser, Request& request) {
    for (const QString& option : {kBatch, kFind, kHtml}) {
        if (parser.values(option).size() > 1) {
            return QStringLiteral("--%1 given more than once").arg(option);
        }
        if (parser.isSet(option)) {
            (option == kBatch  ? request.batch
             : option == kFind ? request.find
                               : request.html) = parser.value(option);
        }
    }
    request.json = parser.isSet(kJson);
    request.catalogueColumns = parser.isSet(kCatalogue);
    request.keyHeader = parser.isSet(kKeys);
    request.codes = parser.positionalArguments();
    return {};
}

// Why the request cannot be done as asked; empty when it can.
QString MisuseOf(const Request& request) {
    if (request.find &&
        (request.batch || request.html || request.catalogueColumns || !request.codes.isEmpty())) {
        return QStringLiteral(
            "--find lists parts of the catalogue; it takes no codes, --batch, "
            "--catalogue or --html");
    }
    if (request.find && catalogue::SearchWords(*request.find).isEmpty()) {
        return QStringLiteral("--find needs a word to look for (an OPN, family, core or rating)");
    }
    if (request.batch && !request.codes.isEmpty()) {
        return QStringLiteral(
            "--batch takes its markings from the file, not from the command line");
    }
    if (request.batch && request.html) {
        return QStringLiteral(
            "--html writes the table of a single marking; it cannot be used with --batch");
    }
    if (request.catalogueColumns && !request.batch) {
        return QStringLiteral("--catalogue adds columns to the CSV of --batch");
    }
    if (request.keyHeader && (!request.batch || request.json)) {
        return QStringLiteral("--keys names the columns of the CSV of --batch");
    }
    if (!request.find && !request.batch && request.codes.size() != kCodeBoxCount) {
        return QStringLiteral("expected three codes (Code One, Code Two, Code Three), got %1")
            .arg(request.codes.size());
    }
    if (request.html && request.html->isEmpty()) {
        return QStringLiteral("--html needs a file name");
    }
    return {};
}

// Does what the parsed command line asks for: a batch, a search of the
// catalogue, or one marking.
int DecodeAsAsked(const QCommandLineParser& parser, StandardStreams streams) {
    Request request;
    QString complaint = ReadRequest(parser, request);
    if (complaint.isEmpty()) {
        complaint = MisuseOf(request);
    }
    if (!complaint.isEmpty()) {
        return UsageError(complaint);
    }
    if (request.find) {
        return FindParts(*request.find, request.json);
    }
    if (request.batch) {
        return DecodeBatch({*request.batch, request.json, request.catalogueColumns,
                            streams.inputClosed, request.keyHeader});
    }
    return DecodeOne(request);
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
    if (parser.isSet(kHelp)) {
        return PrintAndFinish(HelpText(parser));
    }
    if (parser.isSet(kVersion)) {
        return PrintAndFinish(
            QStringLiteral("%1 %2\n").arg(QLatin1String(kProgramName), GetVersionString()));
    }
    return DecodeAsAsked(parser, streams);
}

}  // namespace varnel::cli
