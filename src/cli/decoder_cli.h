#pragma once

namespace varnel::cli {

// Exit statuses of varnel-decode.
enum ExitStatus : int {
    kEveryRunCompleted = 0,
    kRunStopped = 1,        // a marking's run stopped with a message
    kNoPartFound = 1,       // --find matched no part of the catalogue
    kUsageOrInputError = 2  // bad arguments, unreadable input or output that could not be written
};

// The standard descriptors the program was started without (`<&-`, `>&-`).
struct StandardStreams {
    bool inputClosed = false;
    bool outputClosed = false;
};

// Looks at descriptors 0, 1 and 2 and opens /dev/null in place of a closed
// one. Call it before anything opens a file: the system hands out the lowest
// free number, so a file opened later would otherwise become "standard
// output" and take in what was meant for it.
StandardStreams ClaimStandardStreams();

// The whole program: reads the arguments, decodes, writes standard output and
// standard error, and returns the exit status. Needs a QCoreApplication.
int RunDecoder(int argc, char** argv, StandardStreams streams = {});

}  // namespace varnel::cli
