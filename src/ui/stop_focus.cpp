#include "ui/stop_focus.h"

namespace varnel {

std::optional<int> BoxToCorrect(const Sheet& sheet) {
    const int code = sheet.findings.stopCode;
    if (sheet.completed || code < 1 || code > kCodeBoxCount) {
        return std::nullopt;
    }
    return code - 1;
}

}  // namespace varnel
