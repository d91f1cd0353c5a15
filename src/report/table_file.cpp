#include "report/table_file.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>

namespace varnel::report {

namespace {

WriteResult Failure(int errorNumber) {
    return {QString::fromLocal8Bit(std::strerror(errorNumber)), errorNumber};
}

// The kinds of file a table is never put in place of, as a reason names them.
struct KindName {
    mode_t type;
    const char* name;
};

// clang-format off
constexpr std::array<KindName, 5> kKindNames{{
    {S_IFDIR,  "a directory"},
    {S_IFIFO,  "a FIFO"},
    {S_IFCHR,  "a character device"},
    {S_IFBLK,  "a block device"},
    {S_IFSOCK, "a socket"},
}};
// clang-format on

WriteResult NotRegular(mode_t mode) {
    const char* name = "of an unknown kind";
    for (const KindName& kind : kKindNames) {
        if ((mode & S_IFMT) == kind.type) {
            name = kind.name;
        }
    }
    return {QStringLiteral("It is not a regular file but %1.").arg(QLatin1String(name))};
}

bool IsStream(mode_t mode) {
    return S_ISFIFO(mode) || S_ISCHR(mode);
}

// The descriptor that /dev/stdout, /dev/stderr, /dev/fd/N or
// /proc/self/fd/N stand for, or -1. Writing into the descriptor the program
// already holds puts the table after what went there before, whatever the
// descriptor is (a terminal, a pipe, a socket or a file the shell opened).
int DescriptorNamed(const QByteArray& name) {
    if (name == "/dev/stdout") {
        return STDOUT_FILENO;
    }
    if (name == "/dev/stderr") {
        return STDERR_FILENO;
    }
    for (const char* prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        bool isNumber = false;
        const int fd =
            name.startsWith(prefix) ? name.mid(qstrlen(prefix)).toInt(&isNumber, 10) : -1;
        if (isNumber && fd >= 0) {
            return fd;
        }
    }
    return -1;
}

WriteResult WriteIntoDescriptor(int fd, const QByteArray& bytes) {
    const int error = WriteAll(fd, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return error == 0 ? WriteResult{} : Failure(error);
}

// A FIFO or a character device takes the bytes as they come: there is no
// file to replace, and replacing the node would break whoever reads it.
WriteResult WriteIntoStream(const QByteArray& name, const QByteArray& bytes) {
    const int fd = ::open(name.constData(), O_WRONLY | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return Failure(errno);
    }
    struct stat opened {};
    WriteResult result;
    if (::fstat(fd, &opened) != 0) {
        result = Failure(errno);
    } else if (!IsStream(opened.st_mode)) {
        // Swapped for something else after it was looked at; opened without
        // truncating, so nothing was lost.
        result = {QStringLiteral("It changed while it was being opened.")};
    } else {
        result = WriteIntoDescriptor(fd, bytes);
    }
    if (::close(fd) != 0 && result.Succeeded()) {
        result = Failure(errno);
    }
    return result;
}

// A new file beside the target, created exclusively (so never through a
// link) with the mode the umask allows. Returns the descriptor or -1.
int CreateFileBeside(const QByteArray& target, QByteArray& created) {
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = target.left(slash + 1);
    const QByteArray base = target.mid(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = folder + '.' + base + '.' +
                  QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        const int fd = ::open(created.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// What a replacement takes over from the file it replaces.
struct Keep {
    const struct stat* old = nullptr;  // null: there was no file
    bool owner = false;
};

// The replacement takes over the old file's permission bits, never set-uid,
// set-gid or sticky (a table is no program, and a bit left by whoever made
// the old file must not outlive it); and its owner and group when running
// as root (who would otherwise become the owner), unless another user could
// have planted the old file.
int KeepOwnership(int fd, const Keep& keep) {
    if (keep.owner && ::geteuid() == 0 && ::fchown(fd, keep.old->st_uid, keep.old->st_gid) != 0) {
        return errno;
    }
    return ::fchmod(fd, keep.old->st_mode & 0777) == 0 ? 0 : errno;
}

// Writes a complete new file and only then renames it over the target, so a
// failure anywhere leaves the old file as it was.
WriteResult ReplaceRegularFile(const QByteArray& target, const QByteArray& bytes,
                               const Keep& keep) {
    QByteArray temporary;
    const int fd = CreateFileBeside(target, temporary);
    if (fd < 0) {
        return Failure(errno);
    }
    int error = keep.old != nullptr ? KeepOwnership(fd, keep) : 0;
    if (error == 0) {
        error = WriteAll(fd, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.constData());
        return Failure(error);
    }
    return {};
}

QByteArray FolderOf(const QByteArray& name) {
    const qsizetype slash = name.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : name.left(std::max<qsizetype>(slash, 1));
}

// A folder anyone may create names in, but only their owners remove, such
// as /tmp: another user can plant a link or a file there under a name the
// caller will use later. Returns 0 and says whether it is one, or errno.
int IsSharedFolder(const QByteArray& folder, bool& shared, uid_t& owner) {
    struct stat found {};
    if (::stat(folder.constData(), &found) != 0) {
        return errno;
    }
    shared = (found.st_mode & S_ISVTX) != 0 && (found.st_mode & S_IWOTH) != 0;
    owner = found.st_uid;
    return 0;
}

// The kernel's own rule for such folders (fs.protected_symlinks and
// fs.protected_regular), applied whatever those settings say, and for links
// this program follows itself: a link or a file there is used only when the
// caller or the folder's owner owns it.
WriteResult RefusePlanted(const QByteArray& name, const struct stat& found, bool& shared) {
    uid_t folderOwner = 0;
    if (const int error = IsSharedFolder(FolderOf(name), shared, folderOwner); error != 0) {
        return Failure(error);
    }
    if (!shared || found.st_uid == ::geteuid() || found.st_uid == folderOwner) {
        return {};
    }
    return {QStringLiteral("It is %1 owned by another user (uid %2) in a folder that anyone may "
                           "write to (sticky, like /tmp); it is left alone.")
                .arg(S_ISLNK(found.st_mode) ? QStringLiteral("a symbolic link")
                                            : QStringLiteral("a file"))
                .arg(found.st_uid)};
}

// What stands at name (not a link) decides how the table goes there.
WriteResult WriteOver(const QByteArray& name, const struct stat& found, const QByteArray& bytes,
                      PathPolicy policy, bool shared) {
    if (S_ISREG(found.st_mode)) {
        return ReplaceRegularFile(name, bytes, {&found, !shared});
    }
    if (policy == PathPolicy::NamedByUser && IsStream(found.st_mode)) {
        return WriteIntoStream(name, bytes);
    }
    return NotRegular(found.st_mode);
}

WriteResult WriteAt(const QByteArray& name, const QByteArray& bytes, PathPolicy policy, int hops);

// The link stays; what it leads to is written as if named itself, and made
// when it does not exist yet.
WriteResult WriteThroughLink(const QByteArray& link, const QByteArray& bytes, int hops) {
    constexpr int kMaxLinkHops = 40;  // as the kernel allows
    if (hops >= kMaxLinkHops) {
        return Failure(ELOOP);
    }
    char target[PATH_MAX];
    const ssize_t length = ::readlink(link.constData(), target, sizeof target);
    if (length < 0) {
        return Failure(errno);
    }
    if (length == static_cast<ssize_t>(sizeof target)) {
        return Failure(ENAMETOOLONG);
    }
    QByteArray next(target, length);
    if (!next.startsWith('/')) {
        next.prepend(link.left(link.lastIndexOf('/') + 1));
    }
    return WriteAt(next, bytes, PathPolicy::NamedByUser, hops + 1);
}

WriteResult WriteAt(const QByteArray& name, const QByteArray& bytes, PathPolicy policy, int hops) {
    if (policy == PathPolicy::NamedByUser) {
        if (const int fd = DescriptorNamed(name); fd >= 0) {
            return WriteIntoDescriptor(fd, bytes);
        }
    }
    struct stat found {};
    if (::lstat(name.constData(), &found) != 0) {
        return errno == ENOENT ? ReplaceRegularFile(name, bytes, {}) : Failure(errno);
    }
    bool shared = false;
    if (S_ISLNK(found.st_mode) || S_ISREG(found.st_mode)) {
        if (WriteResult refused = RefusePlanted(name, found, shared); !refused.Succeeded()) {
            return refused;
        }
    }
    if (!S_ISLNK(found.st_mode)) {
        return WriteOver(name, found, bytes, policy, shared);
    }
    if (policy == PathPolicy::FixedName) {
        return {QStringLiteral("It is a symbolic link.")};
    }
    return WriteThroughLink(name, bytes, hops);
}

}  // namespace

WriteResult WriteWholeFile(const QString& path, const QByteArray& bytes, PathPolicy policy) {
    return WriteAt(QFile::encodeName(path), bytes, policy, 0);
}

int WriteAll(int fd, const char* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t written = ::write(fd, data + done, size - done);
        if (written > 0) {
            done += static_cast<std::size_t>(written);
        } else if (written == 0) {
            return EIO;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (const int error = WaitUntilReady(fd, POLLOUT); error != 0) {
                return error;
            }
        } else if (errno != EINTR) {
            return errno;
        }
    }
    return 0;
}

int WaitUntilReady(int fd, short events) {
    pollfd watched{fd, events, 0};
    while (::poll(&watched, 1, -1) < 0) {
        if (errno != EINTR) {
            return errno;
        }
    }
    return 0;
}

}  // namespace varnel::report
