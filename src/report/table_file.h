#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>

namespace varnel::report {

// Who chose the path a table is written to, which decides what may stand there.
enum class PathPolicy {
    // The user named it (varnel-decode --html): a symbolic link is written
    // through and stays, as an editor would do; a FIFO, a character device or
    // an open descriptor (/dev/stdout, /dev/fd/N) is written into as it is.
    NamedByUser,
    // The program chose the name (table.htm): only a regular file is
    // replaced. A link planted under that name must not redirect the write
    // to whatever file it points at, so a link or any other kind of file is
    // refused.
    FixedName,
};

// How a write ended: reason is empty when it succeeded. errorNumber holds the
// system's error, when there was one (EPIPE: the reader has gone).
struct WriteResult {
    QString reason;
    int errorNumber = 0;

    bool Succeeded() const { return reason.isEmpty(); }
};

// Writes the bytes to path. A regular file is replaced whole or not at all,
// never left half written, and keeps its permission bits but set-uid, set-gid
// and sticky (and, when running as root, its owner and group); a new file
// gets the mode the umask allows. Nothing that is not a regular file is ever
// replaced. In a folder anyone may write to with the sticky bit (/tmp), a
// link or file that neither the caller nor the folder's owner owns is
// refused, and a replaced file there belongs to the caller.
WriteResult WriteWholeFile(const QString& path, const QByteArray& bytes, PathPolicy policy);

// Writes every byte to an open descriptor. A descriptor left non-blocking by
// the parent is waited on until it takes more; interrupted writes go on.
// Returns 0, or errno of the failure (a short write on a full disk fails).
int WriteAll(int fd, const char* data, std::size_t size);

// Waits until the descriptor is ready for events (POLLIN or POLLOUT).
// Returns 0, or errno when waiting itself failed.
int WaitUntilReady(int fd, short events);

}  // namespace varnel::report
