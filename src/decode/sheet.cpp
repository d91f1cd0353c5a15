#include "decode/sheet.h"

#include <algorithm>

#include "decode/captions.h"

namespace varnel {

Sheet WaitingSheet() {
    Sheet sheet;
    sheet.caption = WaitingCaption();
    return sheet;
}

bool AllValuesBlank(const Sheet& sheet) {
    return std::ranges::all_of(sheet.values, [](const ShortText& v) { return v.isEmpty(); });
}

}  // namespace varnel
