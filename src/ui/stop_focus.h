#pragma once

#include <optional>

#include "decode/sheet.h"

namespace varnel {

// The code box that the message of a stopped run is about, so that the
// correction can be typed at once; none after a complete run, or after a
// stop whose message names no box.
std::optional<int> BoxToCorrect(const Sheet& sheet);

}  // namespace varnel
