#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "report/html_table.h"
#include "support/fakes.h"

using namespace varnel;
using namespace varnel::report;

namespace {

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

struct stat StatusOf(const QString& path) {
    struct stat found {};
    ::lstat(QFile::encodeName(path).constData(), &found);
    return found;
}

Sheet SomeWindow() {
    Sheet sheet = WaitingSheet();
    sheet.caption = QStringLiteral("AMD Athlon XP");
    sheet.codes = {QStringLiteral("AXDA2500DKV4D"), QStringLiteral("KQXEB0345MPMW"),
                   QStringLiteral("Y3121234")};
    return sheet;
}

// Points HOME at a scratch folder, so that the documents folder an export
// could fall back to is scratch space too.
struct ScratchHome {
    const QByteArray saved = qgetenv("HOME");
    explicit ScratchHome(const QString& home) { qputenv("HOME", QFile::encodeName(home)); }
    ~ScratchHome() { qputenv("HOME", saved); }
};

// What the window's export finds under the name table.htm, and whether it
// must leave it alone.
struct Target {
    const char* what;
    std::function<void(const QString& table, const QString& elsewhere)> make;
    const char* refusal;  // the reason shown, or null when the file is replaced
};

}  // namespace

TEST(WindowExport, ReplacesOnlyRegularFiles) {
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
    for (const Target& target : targets) {
        SCOPED_TRACE(target.what);
        QTemporaryDir scratch;
        const QString program = scratch.filePath(QStringLiteral("program"));
        const QString table = program + QStringLiteral("/table.htm");
        const QString elsewhere = scratch.filePath(QStringLiteral("precious.txt"));
        ASSERT_TRUE(QDir().mkpath(program) && WriteBytes(elsewhere, "precious"));
        target.make(table, elsewhere);
        const struct stat before = StatusOf(table);
        const ScratchHome home(scratch.filePath(QStringLiteral("home")));

        ScriptedPrompter prompter;
        const bool exported = ExportHtmlTable(SomeWindow(), prompter, program);

        ASSERT_EQ(prompter.Messages().size(), 1);
        const Message& shown = prompter.Messages()[0];
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
            EXPECT_EQ(shown.text, QStringLiteral("Could not save ") + table +
                                      QStringLiteral(":\r\n\r\n") + target.refusal);
            EXPECT_EQ(QFile::symLinkTarget(table), S_ISLNK(before.st_mode) ? elsewhere : QString());
            EXPECT_FALSE(
                QFile::exists(scratch.filePath(QStringLiteral("home/Documents/table.htm"))));
        } else {
            EXPECT_TRUE(exported);
            EXPECT_EQ(ReadBytes(table), EncodeTableFile(BuildDefaultTable(SomeWindow())));
            EXPECT_NE(after.st_ino, before.st_ino) << "replaced whole, not rewritten in place";
        }
    }
}

// When the program's folder cannot be written, the documents folder takes
// the table; when that cannot be made, or there is no home, the message says
// why and names the path, and nothing is written anywhere.
TEST(WindowExport, FallbackFolderNamesTheRealReason) {
    const struct {
        const char* what;
        const char* home;  // under the scratch folder; null: HOME empty
        const char* reason;
    } cases[] = {
        {"a read-only home", "home", "Could not create the folder %1/Documents: Permission denied"},
        {"no home at all", nullptr,
         "there is no home folder to hold a documents folder (HOME is not set)"},
    };
    // Root may write anywhere: the export runs as another user (nobody) then.
    const bool root = ::geteuid() == 0;
    const bool rootHadDocuments = QFile::exists(QStringLiteral("/Documents"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir scratch;
        ASSERT_EQ(::chmod(QFile::encodeName(scratch.path()), 0755), 0);
        const QString program = scratch.filePath(QStringLiteral("program"));
        const QString home = c.home != nullptr ? scratch.filePath(c.home) : QString();
        ASSERT_TRUE(QDir().mkpath(program));
        ASSERT_EQ(::chmod(QFile::encodeName(program), 0555), 0);
        if (!home.isEmpty()) {
            ASSERT_TRUE(QDir().mkpath(home));
            ASSERT_EQ(::chmod(QFile::encodeName(home), 0555), 0);
        }
        const ScratchHome scratchHome(home);
        ScriptedPrompter prompter;
        ASSERT_EQ(root ? ::seteuid(65534) : 0, 0);
        const bool exported = ExportHtmlTable(SomeWindow(), prompter, program);
        ASSERT_EQ(root ? ::seteuid(0) : 0, 0);

        EXPECT_FALSE(exported);
        ASSERT_EQ(prompter.Messages().size(), 1);
        EXPECT_EQ(prompter.Messages()[0].icon, MessageIcon::Critical);
        const QString reason = QString::fromUtf8(c.reason).replace(QStringLiteral("%1"), home);
        EXPECT_TRUE(prompter.Messages()[0].text.contains(reason))
            << prompter.Messages()[0].text.toStdString();
        EXPECT_TRUE(QDir(program).isEmpty());
        EXPECT_TRUE(home.isEmpty() ||
                    QDir(home).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    }
    EXPECT_EQ(QFile::exists(QStringLiteral("/Documents")), rootHadDocuments);
}
