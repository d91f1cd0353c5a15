#pragma once

namespace varnel::cli {

// Exit statuses of varnel-decode.
enum ExitStatus : int {
    kEveryRunCompleted = 0,
    kRunStopped = 1,        // a marking's run stopped with a message
    kUsageOrInputError = 2  // bad arguments, unreadable input or output that could not be written
};

// The whole program: reads the arguments, decodes, writes standard output and
// standard error, and returns the exit status. Needs a QCoreApplication.
int RunDecoder(int argc, char** argv);

}  // namespace varnel::cli
