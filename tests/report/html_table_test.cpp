#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <functional>
#include <new>
#include <optional>

#include "decode/captions.h"
#include "decode/program.h"
#include "report/html_table.h"
#include "support/fakes.h"
#include "support/markings.h"

using namespace varnel;
using namespace varnel::report;

namespace {

QString Q(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// The window before any Check, with the codes as typed.
Sheet FreshWindow(const QString& one = {}, const QString& two = {}, const QString& three = {}) {
    Sheet sheet = WaitingSheet();
    sheet.codes = {one, two, three};
    return sheet;
}

// The window after checking a Barton Athlon XP 2500+.
Sheet BartonWindow() {
    return testdata::ExpectedSheet(testdata::MarkingNamed("BartonOn333"));
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString Saved(const QString& folder) {
    return QStringLiteral("File saved as table.htm in: \r\n\r\n") + folder;
}

// A program folder and a home of its own for every test, so that the
// documents folder an export may fall back to is scratch space too.
class ExportTest : public testing::Test {
  protected:
    void SetUp() override {
        qunsetenv("XDG_CONFIG_HOME");
        SetHome(home_);
        ASSERT_TRUE(QDir().mkpath(program_));
        ASSERT_TRUE(WriteBytes(blocker_, "x"));
    }
    void TearDown() override { qputenv("HOME", savedHome_); }
    static void SetHome(const QString& home) { qputenv("HOME", QFile::encodeName(home)); }

    QTemporaryDir scratch_;
    const QString program_ = scratch_.filePath(QStringLiteral("program"));
    const QString table_ = program_ + QStringLiteral("/table.htm");
    const QString home_ = scratch_.filePath(QStringLiteral("home"));
    // Nothing can be created below a regular file, not even by root.
    const QString blocker_ = scratch_.filePath(QStringLiteral("plain-file"));
    const QByteArray savedHome_ = qgetenv("HOME");
    ScriptedPrompter prompter_;
};

TEST_F(ExportTest, CompleteRunMatchesReferenceFile) {
    QByteArray expected =
        ReadBytes(QStringLiteral(VARNEL_REPORT_TEST_DATA "/barton_complete_run.htm"));
    ASSERT_EQ(expected.count("\r\n"), 100);
    expected.replace("(v1.0.0)", "(v" + GetVersionString().toLatin1() + ")");

    ASSERT_TRUE(ExportHtmlTable(BartonWindow(), prompter_, program_));
    EXPECT_EQ(ReadBytes(table_), expected);
    const Message saved{Saved(program_), MessageIcon::Information, MessageButtons::Ok,
                        QStringLiteral("Varnel")};
    EXPECT_EQ(prompter_.Messages(), QList<Message>{saved});
}

// Every character a browser could take for markup, and a line break, goes
// in as text; everything else in the line stays as for an empty window.
TEST(SaveHtmlTest, ValuesGoInAsTextAndTheMarkupStays) {
    const QString value = Q(u"&<>\"<!--&amp;A\r\nB 85°C '€'");
    const QString written = Q(u"&amp;&lt;&gt;&quot;&lt;!--&amp;amp;A&#13;&#10;B 85°C '€'");
    Sheet blank = FreshWindow();
    blank.caption.clear();
    const QStringList markup = BuildDefaultTable(blank).split(QStringLiteral("\r\n"));
    Sheet window = FreshWindow(value, value, value);
    window.caption = value;
    window.values.fill(ShortText(value));
    const QString table = BuildDefaultTable(window);
    const QStringList lines = table.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), markup.size());
    for (int i = 0; i < lines.size(); ++i) {
        QString expected = markup[i];
        // The caption, the nineteen slot values and the three codes, each
        // right after its cell's leading blank.
        if (i == 2 || (i >= 6 && i <= 78 && i % 4 == 2) || (i >= 85 && i <= 93 && i % 4 == 1)) {
            expected.insert(expected.indexOf("</", expected.indexOf("&nbsp;")), written);
        }
        EXPECT_EQ(lines[i].toStdString(), expected.toStdString()) << "line " << i;
    }
    EXPECT_EQ(EncodeTableFile(table).count("<!--"), 0);
}

TEST(EncodeTableFileTest, CodePageOrReference) {
    const std::pair<QString, QByteArray> cases[] = {
        {QStringLiteral("<a&b> \t"), "<a&b> \t"},
        {Q(u"85°C OµPGA ÿ"),
         "85\xB0"
         "C O\xB5PGA \xFF"},
        {Q(u"Ω中"), "&#937;&#20013;"},
        {Q(u"x😀y"), "x&#128512;y"},
        // Half a surrogate pair names no character.
        {QString(QChar(0xD83D)) + QChar(0xD83D) + QChar(0xDE00), "&#65533;&#128512;"},
        {QStringLiteral("A") + QChar(0xD83D), "A&#65533;"},
        {QString(QChar(0xDE00)) + QLatin1Char('A'), "&#65533;A"},
    };
    for (const auto& [text, bytes] : cases) {
        EXPECT_EQ(EncodeTableFile(text), bytes + "\r\n") << text.toStdString();
    }
    // Every byte of the code page's upper control block, both ways, against
    // the system's own reader: the en dash is 0x96, not the em dash's 0x97;
    // the five undefined bytes come back as C1 controls, written as references.
    QStringDecoder windows1252("windows-1252");
    ASSERT_TRUE(windows1252.isValid());
    for (int byte = 0x80; byte <= 0x9F; ++byte) {
        const QByteArray raw(1, static_cast<char>(byte));
        const QString character = windows1252.decode(raw);
        ASSERT_EQ(character.size(), 1) << byte;
        const QByteArray expected =
            character.front().unicode() == byte ? "&#" + QByteArray::number(byte) + ";" : raw;
        EXPECT_EQ(EncodeTableFile(character), expected + "\r\n") << byte;
    }
}

TEST_F(ExportTest, UnwritableOrSystemProgramFolderUsesDocuments) {
    // Root can write /usr/bin: an installed program must not leave a table
    // there that outlives the package.
    const QString documents = home_ + QStringLiteral("/Documents");
    for (const QString& folder :
         {blocker_ + QStringLiteral("/bin"), QStringLiteral("/usr/bin"), QStringLiteral("/usr"),
          QStringLiteral("/opt/varnel/bin"), QStringLiteral(VARNEL_INSTALL_BINDIR)}) {
        SCOPED_TRACE(folder.toStdString());
        prompter_.Clear();
        QFile::remove(documents + QStringLiteral("/table.htm"));
        ASSERT_TRUE(ExportHtmlTable(BartonWindow(), prompter_, folder));
        EXPECT_EQ(ReadBytes(documents + QStringLiteral("/table.htm")),
                  EncodeTableFile(BuildDefaultTable(BartonWindow())));
        EXPECT_EQ(prompter_.Messages().value(0).text, Saved(documents));
    }
    EXPECT_FALSE(IsSystemFolder(QStringLiteral("/usrlocal/bin")));
    EXPECT_FALSE(IsSystemFolder(program_));
}

TEST_F(ExportTest, ExportAsWritesTheTableBytesAndRefusesALink) {
    const QString chosen = program_ + QStringLiteral("/") + ExportFileNameFor(BartonWindow().codes);
    EXPECT_TRUE(chosen.endsWith(QStringLiteral("/AXDA2500DKV4D.htm")));
    ASSERT_TRUE(ExportHtmlTableAs(BartonWindow(), prompter_, chosen));
    EXPECT_EQ(ReadBytes(chosen), EncodeTableFile(BuildDefaultTable(BartonWindow())));
    EXPECT_EQ(prompter_.Messages().value(0).text,
              QStringLiteral("File saved as AXDA2500DKV4D.htm in: \r\n\r\n") + program_);

    const QString link = program_ + QStringLiteral("/link.htm");
    ASSERT_TRUE(QFile::link(chosen, link));
    prompter_.Clear();
    EXPECT_FALSE(ExportHtmlTableAs(FreshWindow(), prompter_, link));
    EXPECT_EQ(prompter_.Messages().value(0).icon, MessageIcon::Critical);
    EXPECT_EQ(ReadBytes(chosen), EncodeTableFile(BuildDefaultTable(BartonWindow())))
        << "the link's target is untouched";
    EXPECT_EQ(ExportFileNameFor(FreshWindow().codes), QStringLiteral("table.htm"));
    EXPECT_EQ(ExportFileNameFor(FreshWindow(QStringLiteral("A/B..")).codes),
              QStringLiteral("A_B__.htm"));
}

// Lets a regular file grow to a few bytes only, as a full disk would.
struct FullDisk {
    rlimit saved{};
    FullDisk() {
        getrlimit(RLIMIT_FSIZE, &saved);
        signal(SIGXFSZ, SIG_IGN);
        rlimit tight{64, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &tight);
    }
    ~FullDisk() { setrlimit(RLIMIT_FSIZE, &saved); }
};

TEST_F(ExportTest, FailedWriteNamesPathKeepsOldTable) {
    enum Trouble { FolderInTheWay, DiskFull };
    for (Trouble trouble : {FolderInTheWay, DiskFull}) {
        SCOPED_TRACE(trouble);
        QDir(table_).removeRecursively();
        ASSERT_TRUE(WriteBytes(table_, "<table>old</table>"));
        prompter_.Clear();
        if (trouble == FolderInTheWay) {
            QFile::remove(table_);
            ASSERT_TRUE(QDir().mkpath(table_));
        }
        const QByteArray before = ReadBytes(table_);
        std::optional<FullDisk> full;
        if (trouble == DiskFull)
            full.emplace();
        const bool exported = ExportHtmlTable(BartonWindow(), prompter_, program_);
        full.reset();

        EXPECT_FALSE(exported);
        ASSERT_EQ(prompter_.Messages().size(), 1) << "an error and no success message";
        const Message& shown = prompter_.Messages()[0];
        EXPECT_EQ(shown.icon, MessageIcon::Critical);
        EXPECT_EQ(shown.title, QStringLiteral("Varnel"));
        EXPECT_TRUE(shown.text.startsWith("Could not save " + table_ + ":\r\n\r\n"))
            << shown.text.toStdString();
        EXPECT_GT(shown.text.size(), table_.size() + 20) << "a reason follows";
        EXPECT_EQ(ReadBytes(table_), before) << "the old table is untouched";
        EXPECT_EQ(QDir(program_).entryList(QDir::Files | QDir::Hidden).size(),
                  before.isEmpty() ? 0 : 1);
    }
}

TEST_F(ExportTest, BuildFailureShowsErrorAndWritesNothing) {
    EXPECT_FALSE(ExportHtmlTable([]() -> QString { throw std::bad_alloc(); }, prompter_, program_));
    const Message unexpected{QStringLiteral("An unexpected error has occured!"),
                             MessageIcon::Critical, MessageButtons::Ok,
                             QStringLiteral("Out of memory - (7)")};
    EXPECT_EQ(prompter_.Messages(), QList<Message>{unexpected});
    EXPECT_FALSE(QFile::exists(table_));
}

struct stat StatusOf(const QString& path) {
    struct stat found {};
    ::lstat(QFile::encodeName(path).constData(), &found);
    return found;
}

// What the window's export finds under the name table.htm, and whether it
// must leave it alone.
struct Target {
    const char* what;
    std::function<void(const QString& table, const QString& elsewhere)> make;
    const char* refusal;  // the reason shown, or null when the file is replaced
};

TEST_F(ExportTest, ReplacesOnlyRegularFiles) {
    const bool root = ::geteuid() == 0;
    const Target targets[] = {
        {"a symbolic link to a file elsewhere",
         [](const QString& table, const QString& elsewhere) {
             ASSERT_TRUE(QFile::link(elsewhere, table));
         },
         "It is a symbolic link."},
        {"a FIFO",
         [](const QString& table, const QString&) {
             ASSERT_EQ(::mkfifo(QFile::encodeName(table), 0644), 0);
         },
         "It is not a regular file but a FIFO."},
        {"a read-only file of another owner",
         [root](const QString& table, const QString&) {
             ASSERT_TRUE(WriteBytes(table, "old"));
             ASSERT_EQ(::chmod(QFile::encodeName(table), 0444), 0);
             if (root) {
                 ASSERT_EQ(::chown(QFile::encodeName(table), 1234, 5678), 0);
             }
         },
         nullptr},
    };
    const QString elsewhere = scratch_.filePath(QStringLiteral("precious.txt"));
    ASSERT_TRUE(WriteBytes(elsewhere, "precious"));
    for (const Target& target : targets) {
        SCOPED_TRACE(target.what);
        const QString program = scratch_.filePath(QString::fromLatin1(target.what));
        const QString table = program + QStringLiteral("/table.htm");
        ASSERT_TRUE(QDir().mkpath(program));
        target.make(table, elsewhere);
        const struct stat before = StatusOf(table);
        const bool exported = ExportHtmlTable(BartonWindow(), prompter_, program);

        ASSERT_EQ(prompter_.Messages().size(), 1);
        const Message shown = prompter_.TakeMessages()[0];
        const struct stat after = StatusOf(table);
        EXPECT_EQ(ReadBytes(elsewhere).toStdString(), "precious");
        EXPECT_EQ(QDir(program).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                          QDir::NoDotAndDotDot),
                  QStringList{"table.htm"});
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
        if (target.refusal != nullptr) {
            EXPECT_FALSE(exported);
            EXPECT_EQ(shown.icon, MessageIcon::Critical);
            EXPECT_EQ(shown.text, "Could not save " + table + ":\r\n\r\n" + target.refusal);
            EXPECT_EQ(QFile::symLinkTarget(table), S_ISLNK(before.st_mode) ? elsewhere : QString());
            EXPECT_FALSE(QFile::exists(home_ + QStringLiteral("/Documents/table.htm")));
        } else {
            EXPECT_TRUE(exported);
            EXPECT_EQ(ReadBytes(table), EncodeTableFile(BuildDefaultTable(BartonWindow())));
            EXPECT_NE(after.st_ino, before.st_ino) << "replaced whole, not rewritten in place";
        }
    }
}

// When the program's folder cannot be written, the documents folder takes
// the table; when that cannot be made, or there is no home, the message says
// why and names the path, and nothing is written anywhere.
TEST_F(ExportTest, FallbackFolderNamesTheRealReason) {
    const struct {
        const char* what;
        bool home;  // false: HOME empty
        const char* reason;
    } cases[] = {
        {"a read-only home", true, "Could not create the folder %1/Documents: Permission denied"},
        {"no home at all", false,
         "there is no home folder to hold a documents folder (HOME is not set)"},
    };
    // Root may write anywhere: the export runs as another user (nobody) then.
    const bool root = ::geteuid() == 0;
    const bool rootHadDocuments = QFile::exists(QStringLiteral("/Documents"));
    ASSERT_EQ(::chmod(QFile::encodeName(scratch_.path()), 0755), 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString folder = scratch_.filePath(QString::fromLatin1(c.what));
        const QString program = folder + QStringLiteral("/program");
        const QString home = c.home ? folder + QStringLiteral("/home") : QString();
        for (const QString& readOnly : {program, home}) {
            ASSERT_TRUE(readOnly.isEmpty() || (QDir().mkpath(readOnly) &&
                                               ::chmod(QFile::encodeName(readOnly), 0555) == 0));
        }
        SetHome(home);
        ASSERT_EQ(root ? ::seteuid(65534) : 0, 0);
        const bool exported = ExportHtmlTable(BartonWindow(), prompter_, program);
        ASSERT_EQ(root ? ::seteuid(0) : 0, 0);

        EXPECT_FALSE(exported);
        ASSERT_EQ(prompter_.Messages().size(), 1);
        const Message shown = prompter_.TakeMessages()[0];
        EXPECT_EQ(shown.icon, MessageIcon::Critical);
        const QString reason = QString::fromUtf8(c.reason).replace(QStringLiteral("%1"), home);
        EXPECT_TRUE(shown.text.startsWith(QStringLiteral("Could not save ")) &&
                    shown.text.contains(reason))
            << shown.text.toStdString();
        EXPECT_TRUE(QDir(program).isEmpty());
        EXPECT_TRUE(home.isEmpty() ||
                    QDir(home).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    }
    EXPECT_EQ(QFile::exists(QStringLiteral("/Documents")), rootHadDocuments);
}

}  // namespace
