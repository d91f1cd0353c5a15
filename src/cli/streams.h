#pragma once

#include <QString>
#include <QStringView>
#include <string>

#include "decode/sheet.h"

namespace varnel::cli {

inline constexpr char kProgramName[] = "varnel-decode";

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
    void Flush();

    bool Failed() const { return errorNumber_ != 0; }
    // The reader went away (with SIGPIPE ignored, as some shells and services
    // run their children). Nobody is left to read a message: end quietly.
    bool ReaderGone() const;

    // Flushes what is left; false if anything failed, with a message unless
    // the reader has gone.
    bool Finish();

  private:
    static constexpr std::size_t kFlushThreshold = 64 * 1024;
    int errorNumber_ = 0;
};

// "varnel-decode: text" on standard error.
void PrintError(const QString& text);

// The same, then a pointer to --help; returns the exit status of a usage error.
int UsageError(const QString& text);

// The system's words for an errno.
QString ErrorText(int errorNumber);

// The messages a run showed, one line each on standard error:
// "varnel-decode: Title: text", every run of line breaks in the text turned
// into one space, so that each message stays one line for grep and logs.
void PrintMessages(const Sheet& sheet);

}  // namespace varnel::cli
