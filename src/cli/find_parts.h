#pragma once

#include <QString>

namespace varnel::cli {

// Lists the parts of the catalogue whose OPN, family, core or rating holds
// the text, ignoring case: a table on standard output, or with json one JSON
// object per line. Returns the exit status: kNoPartFound when none matches.
int FindParts(const QString& text, bool json);

}  // namespace varnel::cli
