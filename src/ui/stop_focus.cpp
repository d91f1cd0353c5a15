#include "ui/stop_focus.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace varnel {

namespace {

// The refusal names no box: the first empty one is the one to fill.
constexpr int kFirstEmptyBox = -1;

// A stop told by how its message begins, and the box it is about.
struct StopBox {
    std::u16string_view opening;
    int box;
};

constexpr std::array<StopBox, 6> kStopBoxes{{
    {u"One or more textboxes are empty.", kFirstEmptyBox},
    {u"Chip '", 0},  // a family the tool knows but cannot decode
    {u"CPU Identification String not found", 0},
    {u"Code one has an error in it", 0},  // the model number or the cache digit
    {u"Error: Unable to read correct value in textbox two.", 1},
    {u"Error: Unable to read correct value in textbox three.", 2},
}};

std::optional<int> FirstEmptyBox(const Codes& codes) {
    const auto empty = std::ranges::find_if(codes, &QString::isEmpty);
    if (empty == codes.end()) {
        return std::nullopt;
    }
    return static_cast<int>(empty - codes.begin());
}

}  // namespace

std::optional<int> BoxToCorrect(const Sheet& sheet) {
    if (sheet.completed || sheet.messages.isEmpty()) {
        return std::nullopt;
    }
    // The last message is the one that ended the run.
    const QString& text = sheet.messages.constLast().text;
    const auto row = std::find_if(kStopBoxes.begin(), kStopBoxes.end(), [&text](const StopBox& r) {
        return text.startsWith(QStringView(r.opening));
    });
    if (row == kStopBoxes.end()) {
        return std::nullopt;
    }
    return row->box == kFirstEmptyBox ? FirstEmptyBox(sheet.codes) : std::optional(row->box);
}

}  // namespace varnel
