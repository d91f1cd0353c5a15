// varnel-decode on the pipes scripts and services give it: readers that go
// away, and descriptors the parent left non-blocking.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <array>
#include <cstdio>
#include <vector>

extern char** environ;

namespace {

constexpr char kLine[] = "AXDA2500DKV4D,KQXEB0345MPMW,Y3121234\n";

struct Pipe {
    int read = -1;
    int write = -1;
    Pipe() {
        int ends[2];
        EXPECT_EQ(::pipe2(ends, O_CLOEXEC), 0);
        read = ends[0];
        write = ends[1];
    }
};

// A scratch file, already unlinked, open for reading and writing.
int ScratchFile(const QByteArray& bytes = {}) {
    std::FILE* file = std::tmpfile();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), file);
    std::fflush(file);
    const int fd = ::dup(::fileno(file));
    std::fclose(file);
    ::lseek(fd, 0, SEEK_SET);
    return fd;
}

QByteArray ReadToEnd(int fd) {
    QByteArray bytes;
    char chunk[65536];
    ssize_t got;
    while ((got = ::read(fd, chunk, sizeof chunk)) > 0) {
        bytes.append(chunk, got);
    }
    return bytes;
}

// Starts a program on the given standard input, output and error.
pid_t Spawn(std::vector<const char*> argv, std::array<int, 3> streams) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (int target = 0; target < 3; ++target) {
        posix_spawn_file_actions_adddup2(&actions, streams[target], target);
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    EXPECT_EQ(
        posix_spawn(&pid, argv[0], &actions, nullptr, const_cast<char**>(argv.data()), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// The exit status; a child still running after a minute is killed and
// reported as -1, so that a hang fails the test rather than the whole run.
int ExitStatus(pid_t pid) {
    int status = 0;
    for (int tick = 0; tick < 6000; ++tick) {
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        ::usleep(10000);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return -1;
}

}  // namespace

TEST(DecoderStreams, AReaderThatHasGoneEndsTheBatchQuietly) {
    // As some shells and services run their children; an ignored signal
    // stays ignored across exec.
    const auto previous = ::signal(SIGPIPE, SIG_IGN);
    // Markings without end, as `yes` gives them, and a reader that goes after
    // the first bytes, as `head -1` does; or a feeder that sends nothing and
    // holds its end open, and a reader already gone: the batch must not wait
    // for input that could never be answered.
    for (const bool endless : {true, false}) {
        SCOPED_TRACE(endless ? "endless input" : "idle input");
        Pipe input;
        Pipe output;
        const int err = ScratchFile();
        const int devNull = ::open("/dev/null", O_RDWR | O_CLOEXEC);
        const pid_t feeder = endless
                                 ? Spawn({"/usr/bin/yes", "AXDA2500DKV4D,KQXEB0345MPMW,Y3121234"},
                                         {devNull, input.write, devNull})
                                 : -1;
        if (!endless) {
            ::close(output.read);
        }
        const pid_t decoder =
            Spawn({VARNEL_DECODE_PROGRAM, "--batch", "-"}, {input.read, output.write, err});
        ::close(input.read);
        ::close(output.write);
        if (endless) {
            char header[16];
            EXPECT_GT(::read(output.read, header, sizeof header), 0);
            ::close(output.read);
        }

        EXPECT_EQ(ExitStatus(decoder), 2);
        if (endless) {
            ::kill(feeder, SIGKILL);
            ExitStatus(feeder);
        }
        ::lseek(err, 0, SEEK_SET);
        EXPECT_EQ(ReadToEnd(err).toStdString(), "");
        for (const int fd : {input.write, err, devNull}) {
            ::close(fd);
        }
    }
    ::signal(SIGPIPE, previous);
}

TEST(DecoderStreams, NonBlockingPipesGetEveryRow) {
    // Far more than a pipe holds, in and out.
    constexpr int kLines = 3000;
    const QByteArray input = QByteArray(kLine).repeated(kLines);
    for (const bool nonBlockingOutput : {true, false}) {
        SCOPED_TRACE(nonBlockingOutput ? "standard output" : "standard input");
        Pipe pipe;
        const int file = ScratchFile(nonBlockingOutput ? input : QByteArray());
        const int err = ScratchFile();
        const int childEnd = nonBlockingOutput ? pipe.write : pipe.read;
        ::fcntl(childEnd, F_SETFL, ::fcntl(childEnd, F_GETFL) | O_NONBLOCK);
        const pid_t decoder = Spawn({VARNEL_DECODE_PROGRAM, "--batch", "-"},
                                    nonBlockingOutput ? std::array{file, pipe.write, err}
                                                      : std::array{pipe.read, file, err});
        ::close(childEnd);
        ::usleep(300000);  // the other end starts late
        QByteArray rows;
        if (nonBlockingOutput) {
            rows = ReadToEnd(pipe.read);
        } else {
            EXPECT_EQ(::write(pipe.write, input.constData(), input.size()), input.size());
        }
        ::close(nonBlockingOutput ? pipe.read : pipe.write);

        EXPECT_EQ(ExitStatus(decoder), 0);
        if (!nonBlockingOutput) {
            ::lseek(file, 0, SEEK_SET);
            rows = ReadToEnd(file);
        }
        ::lseek(err, 0, SEEK_SET);
        EXPECT_EQ(ReadToEnd(err).toStdString(), "");
        EXPECT_EQ(rows.count("\r\n"), kLines + 1);  // the header and every marking
        ::close(file);
        ::close(err);
    }
}
