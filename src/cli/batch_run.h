#pragma once

#include <QString>

namespace varnel::cli {

// What --batch is asked to do.
struct BatchRequest {
    QString path;  // "-" for standard input
    bool json = false;
    bool catalogueColumns = false;  // --catalogue: the CSV gains the catalogue's columns
    bool inputClosed = false;       // the program was started without standard input
    bool keyHeader = false;  // --keys: the CSV's header names the JSON's keys, not the captions
};

// Decodes one marking per line of the input and writes a CSV row or a JSON
// line for each, streaming, in the order of the input. Returns the exit
// status: the worst of every line's.
int DecodeBatch(const BatchRequest& request);

}  // namespace varnel::cli
