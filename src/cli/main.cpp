#include <QCoreApplication>

#include "cli/decoder_cli.h"
#include "decode/program.h"

int main(int argc, char** argv) {
    // First of all, before Qt or anything else opens a file.
    const varnel::cli::StandardStreams streams = varnel::cli::ClaimStandardStreams();
    QCoreApplication app(argc, argv);
    // Messages carry the application title, as the window's boxes do.
    varnel::SetApplicationIdentity();
    return varnel::cli::RunDecoder(argc, argv, streams);
}
