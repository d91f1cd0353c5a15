#include "decode/decode_state.h"

#include <utility>

namespace varnel {

void ResetDecodeState(DecodeState& state) {
    DecodeState fresh;
    fresh.CodeOne = std::move(state.CodeOne);
    fresh.FamilyName = std::move(state.FamilyName);
    fresh.PrefixLength = state.PrefixLength;
    fresh.SteppingLength = state.SteppingLength;
    fresh.DateCode = std::move(state.DateCode);
    state = std::move(fresh);
}

}  // namespace varnel
