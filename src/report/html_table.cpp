#include "report/html_table.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cerrno>
#include <cstring>
#include <exception>
#include <new>
#include <optional>

#include "decode/captions.h"
#include "decode/program.h"
#include "report/table_file.h"

namespace varnel::report {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

// One table line: its pieces run together, then CR LF.
template <typename... Pieces>
void AppendLine(QString& text, const Pieces&... pieces) {
    (text.append(pieces), ...);
    text.append(kLineEnd);
}

// What a value may not bring into the table as it stands: the characters of
// markup, so that a code such as <!-- cannot hide the rest of the table or of
// a page it is pasted into, and line breaks, as every cell is one line.
struct Escape {
    char16_t character;
    const char16_t* reference;
};
constexpr std::array<Escape, 6> kEscapes{{
    {u'&', u"&amp;"},
    {u'<', u"&lt;"},
    {u'>', u"&gt;"},
    {u'"', u"&quot;"},
    {u'\r', u"&#13;"},
    {u'\n', u"&#10;"},
}};

// The reference a value's character is written as; empty when the
// character goes in as it is.
QStringView ReferenceOf(QChar c) {
    for (const Escape& row : kEscapes) {
        if (row.character == c.unicode()) {
            return QStringView(row.reference);
        }
    }
    return {};
}

QString EscapeValue(QStringView value) {
    QString escaped;
    escaped.reserve(value.size());
    for (const QChar c : value) {
        const QStringView reference = ReferenceOf(c);
        if (reference.isEmpty()) {
            escaped.append(c);
        } else {
            escaped.append(reference);
        }
    }
    return escaped;
}

// Bytes 0x80 to 0x9F of Windows-1252; zero marks the five bytes it leaves
// undefined. Everything else of the code page is Latin-1.
constexpr std::array<char16_t, 32> kWindows1252High{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

// The Windows-1252 byte of a code point, or -1 when the code page has none.
// U+0080 to U+009F are not in it: their byte values mean other characters.
int Windows1252Byte(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<int>(codePoint);
    }
    for (std::size_t i = 0; i < kWindows1252High.size(); ++i) {
        if (kWindows1252High[i] == codePoint) {  // never 0: codePoint is at least 0x80
            return 0x80 + static_cast<int>(i);
        }
    }
    return -1;
}

void AppendCharacterReference(QByteArray& bytes, char32_t codePoint) {
    bytes.append("&#");
    bytes.append(QByteArray::number(static_cast<quint32>(codePoint)));
    bytes.append(';');
}

// How the error box names a failure while building the table: a description
// and a number to quote in a bug report (7 Out of memory, 51 Internal error).
struct FailureName {
    QString description;
    int number;
};

FailureName NameFailure(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return {QStringLiteral("Out of memory"), 7};
    } catch (const std::exception& e) {
        return {QString::fromLocal8Bit(e.what()), 51};
    } catch (...) {
        return {QStringLiteral("Internal error"), 51};
    }
}

// A folder can take the table when a file can actually be created in it;
// permission bits alone do not tell (a read-only mount, or running as root).
bool CanCreateFileIn(const QString& folder) {
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        return false;
    }
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".varnel-XXXXXX")));
    return probe.open();
}

QString CleanFolder(const QString& folder) {
    return QDir::cleanPath(QDir::fromNativeSeparators(folder));
}

QString JoinFileName(const QString& cleanFolder) {
    const QString name = QString::fromLatin1(kTableFileName);
    return cleanFolder.endsWith(QLatin1Char('/')) ? cleanFolder + name
                                                  : cleanFolder + QLatin1Char('/') + name;
}

}  // namespace

namespace {

const QString kRowStart = QStringLiteral("  <tr bgcolor=\"#000000\">");
const QString kRowEnd = QStringLiteral("  </tr>");
const QString kFontColour = QStringLiteral(" color=\"#000000\">&nbsp;");
// The codes part carries its own fixed look, whatever style was asked for.
const QString kCodeCaptionCell = QStringLiteral(
    "    <td width=\"200\" bgcolor=#cccccc><font face=Verdana size=1 color=\"#000000\">&nbsp;<b>");
const QString kCodeValueCell = QStringLiteral(
    "    <td width=\"100\" bgcolor=#ffffff><font face=Verdana size=1 color=\"#000000\">&nbsp;");

// The opening of a styled cell up to its text: "><font face=F size=S color=...>&nbsp;".
QString FontOpening(const QString& face, std::int16_t size) {
    return QStringLiteral("><font face=") + face + QStringLiteral(" size=") +
           QString::number(size) + kFontColour;
}

void AppendCaptionRow(QString& text, const Sheet& sheet, const QString& colour,
                      const QString& font) {
    AppendLine(text, kRowStart);
    AppendLine(text, QStringLiteral("    <td width=\"200\" td colspan=\"3\" bgcolor="), colour,
               font, QStringLiteral("<b>"), EscapeValue(sheet.caption),
               QStringLiteral("</b></font></td>"));
    AppendLine(text, kRowEnd);
}

void AppendValueRows(QString& text, const Sheet& sheet, const QString& captionColour,
                     const QString& valueColour, const QString& font) {
    for (std::size_t slot = 0; slot < kFields.size(); ++slot) {
        AppendLine(text, kRowStart);
        AppendLine(text, QStringLiteral("    <td width=\"200\" bgcolor="), captionColour, font,
                   QStringLiteral("<b>"), EscapeValue(kFields[slot].caption),
                   QStringLiteral("</b></font></td>"));
        AppendLine(text, QStringLiteral("    <td width=\"100\" bgcolor="), valueColour, font,
                   EscapeValue(sheet.values[slot]), QStringLiteral("</font></td>"));
        AppendLine(text, kRowEnd);
    }
}

void AppendCodeRows(QString& text, const Sheet& sheet) {
    AppendLine(text, QStringLiteral("  <tr>"));
    AppendLine(text, QStringLiteral("    <td width=\"200\" td colspan=\"3\" bgcolor=#999999><div "
                                    "align=\"left\"><font face=Verdana size=1 "
                                    "color=\"#000000\">&nbsp;<b>Codes</b></font></div></td>"));
    AppendLine(text, kRowEnd);
    for (std::size_t box = 0; box < kCodeCaptions.size(); ++box) {
        // "Code One:" heads its row without the colon.
        const QStringView caption = QStringView(kCodeCaptions[box]).chopped(1);
        AppendLine(text, kRowStart);
        AppendLine(text, kCodeCaptionCell, EscapeValue(caption),
                   QStringLiteral("</b></font></td>"));
        AppendLine(text, kCodeValueCell, EscapeValue(sheet.codes[box]),
                   QStringLiteral("</font></td>"));
        AppendLine(text, kRowEnd);
    }
}

void AppendFooterRow(QString& text, const QString& colour, const QString& font) {
    AppendLine(text, kRowStart);
    AppendLine(text, QStringLiteral("    <td width=\"200\" td colspan=\"3\" bgcolor="), colour,
               font, QStringLiteral("Generated by <a href=\""),
               EscapeValue(QString::fromLatin1(kHomePageUrl)), QStringLiteral("\">"),
               EscapeValue(ApplicationTitle()), QStringLiteral("</a> (v"),
               EscapeValue(GetVersionString()), QStringLiteral(")</font></td>"));
    AppendLine(text, kRowEnd);
}

}  // namespace

QString SaveHTML(const Sheet& sheet, const QString& Fontface, std::int16_t Fontsize,
                 const QString& ColumnColour1, const QString& ColumnColour2, const QString& TopRow,
                 const QString& BotRow) {
    const QString font = FontOpening(Fontface, Fontsize);
    QString text;
    text.reserve(8192);
    AppendLine(text, QStringLiteral("<table bgcolor=\"#000000\" border=\"0\" cellspacing=\"1\" "
                                    "cellpadding=\"1\" width=\"330\">"));
    AppendCaptionRow(text, sheet, TopRow, font);
    AppendValueRows(text, sheet, ColumnColour1, ColumnColour2, font);
    AppendCodeRows(text, sheet);
    AppendFooterRow(text, BotRow, font);
    AppendLine(text, QStringLiteral("  </table>"));
    return text;
}

QString BuildDefaultTable(const Sheet& sheet) {
    return SaveHTML(sheet, QStringLiteral("Verdana"), 1, QStringLiteral("#cccccc"),
                    QStringLiteral("#ffffff"), QStringLiteral("#999999"),
                    QStringLiteral("#999999"));
}

QByteArray EncodeTableFile(const QString& table) {
    QByteArray bytes;
    bytes.reserve(table.size() + 2);
    const qsizetype length = table.size();
    for (qsizetype i = 0; i < length; ++i) {
        const QChar unit = table.at(i);
        char32_t codePoint = unit.unicode();
        if (unit.isHighSurrogate() && i + 1 < length && table.at(i + 1).isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(unit, table.at(i + 1));
            ++i;
        } else if (unit.isSurrogate()) {
            // Half of a pair names no character; show the replacement
            // character rather than write bytes no reader can decode.
            codePoint = QChar::ReplacementCharacter;
        }
        const int byte = Windows1252Byte(codePoint);
        if (byte >= 0) {
            bytes.append(static_cast<char>(byte));
        } else {
            AppendCharacterReference(bytes, codePoint);
        }
    }
    bytes.append("\r\n");
    return bytes;
}

bool IsSystemFolder(const QString& folder) {
    // Where a package or "cmake --install" puts the program: a table written
    // there (root can) would outlive the package's removal.
    const QString clean = CleanFolder(folder);
    const QString installed = CleanFolder(QStringLiteral(VARNEL_INSTALL_BINDIR));
    const auto isUnder = [&clean](QLatin1String root) {
        return clean == root || clean.startsWith(root + QLatin1Char('/'));
    };
    return clean == installed || isUnder(QLatin1String("/usr")) || isUnder(QLatin1String("/opt"));
}

namespace {

// Makes each missing folder of path in turn, so that a failure names the
// folder that could not be made and the system's reason (a read-only home
// is "Read-only file system" or "Permission denied", not a missing file).
QString MakeFolders(const QString& path) {
    QString made;
    for (const QString& part : path.split(u'/')) {
        made += part + u'/';
        if (part.isEmpty() || part == u'.') {
            continue;
        }
        const QByteArray name = QFile::encodeName(made);
        if (::mkdir(name.constData(), 0777) != 0 && errno != EEXIST) {
            return QStringLiteral("Could not create the folder %1: %2")
                .arg(QDir::toNativeSeparators(made.chopped(1)),
                     QString::fromLocal8Bit(std::strerror(errno)));
        }
    }
    return QFileInfo(path).isDir()
               ? QString()
               : QStringLiteral("%1 is not a folder.").arg(QDir::toNativeSeparators(path));
}

}  // namespace

ExportFolder ChooseExportFolder(const QString& programFolder) {
    if (!IsSystemFolder(programFolder) && CanCreateFileIn(programFolder)) {
        return {CleanFolder(programFolder), {}};
    }
    // Without a home of its own the documents folder would be /Documents,
    // made at the root of the disk: better to write nothing and say why.
    const QString home = QFile::decodeName(qgetenv("HOME"));
    if (home.isEmpty()) {
        return {{},
                QStringLiteral("The program's folder %1 cannot be written, and there is no home "
                               "folder to hold a documents folder (HOME is not set).")
                    .arg(QDir::toNativeSeparators(CleanFolder(programFolder)))};
    }
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty()) {
        documents = home;
    }
    documents = CleanFolder(documents);
    return {documents, MakeFolders(documents)};
}

bool ExportHtmlTable(const Sheet& sheet, Prompter& prompter, const QString& programFolder) {
    return ExportHtmlTable([&sheet] { return BuildDefaultTable(sheet); }, prompter, programFolder);
}

namespace {

// The table's bytes, or none after telling the user why building failed: an
// empty file would look like a saved one.
std::optional<QByteArray> BuildTableBytes(const std::function<QString()>& buildTable,
                                          Prompter& prompter) {
    try {
        return EncodeTableFile(buildTable());
    } catch (...) {
        const FailureName failure = NameFailure(std::current_exception());
        prompter.Show({QStringLiteral("An unexpected error has occured!"), MessageIcon::Critical,
                       MessageButtons::Ok,
                       failure.description + QStringLiteral(" - (") +
                           QString::number(failure.number) + QStringLiteral(")")});
        return std::nullopt;
    }
}

// Writes the bytes and tells the user where they went, or why they did not;
// failure is why the folder itself could not be had.
bool WriteAndReport(const QByteArray& bytes, const QString& path, Prompter& prompter,
                    const QString& failure = {}) {
    WriteResult written{failure};
    if (written.Succeeded()) {
        written = WriteWholeFile(path, bytes, PathPolicy::FixedName);
    }
    if (!written.Succeeded()) {
        prompter.Show({QStringLiteral("Could not save ") + QDir::toNativeSeparators(path) +
                           QStringLiteral(":") + kLineEnd + kLineEnd + written.reason,
                       MessageIcon::Critical, MessageButtons::Ok, ApplicationTitle()});
        return false;
    }
    const QFileInfo saved(path);
    prompter.Show({QStringLiteral("File saved as ") + saved.fileName() + QStringLiteral(" in: ") +
                       kLineEnd + kLineEnd + QDir::toNativeSeparators(CleanFolder(saved.path())),
                   MessageIcon::Information, MessageButtons::Ok, ApplicationTitle()});
    return true;
}

}  // namespace

bool ExportHtmlTable(const std::function<QString()>& buildTable, Prompter& prompter,
                     const QString& programFolder) {
    const std::optional<QByteArray> bytes = BuildTableBytes(buildTable, prompter);
    if (!bytes) {
        return false;
    }
    const ExportFolder chosen = ChooseExportFolder(programFolder);
    const QString path =
        chosen.folder.isEmpty() ? QString::fromLatin1(kTableFileName) : JoinFileName(chosen.folder);
    return WriteAndReport(*bytes, path, prompter, chosen.failure);
}

bool ExportHtmlTableAs(const Sheet& sheet, Prompter& prompter, const QString& path) {
    const std::optional<QByteArray> bytes =
        BuildTableBytes([&sheet] { return BuildDefaultTable(sheet); }, prompter);
    return bytes && WriteAndReport(*bytes, path, prompter);
}

QString ExportFileNameFor(const Codes& codes) {
    // Code One names the chip; a name made only of what a file name can
    // always hold, whatever was typed.
    QString name;
    for (const QChar c : codes[0]) {
        name.append(c.isLetterOrNumber() && c.unicode() < 128 ? c : QLatin1Char('_'));
    }
    return name.isEmpty() ? QString::fromLatin1(kTableFileName) : name + QStringLiteral(".htm");
}

}  // namespace varnel::report
