#pragma once

#include <optional>

#include "decode/sheet.h"

namespace varnel {

// The code box (0 to 2) that a stopped run is about, so that the correction
// can be typed at once: the box the stop names, the first empty one when a
// box is empty. None after a complete run.
std::optional<int> BoxToCorrect(const Sheet& sheet);

}  // namespace varnel
