#include "decode/decode_state.h"

namespace varnel {

void ResetDecodeState(DecodeState& state) {
    const DecodeState fresh;
    state.FamilyPrefix = fresh.FamilyPrefix;
    state.CpuGeneration = fresh.CpuGeneration;
    state.ModelNumber = fresh.ModelNumber;
    state.ModelDigitCount = fresh.ModelDigitCount;
    state.RevisionCode = fresh.RevisionCode;
    // A revision left over from an earlier chip would be shown as this chip's.
    state.Amd64Revision = fresh.Amd64Revision;
    state.CpuModel = fresh.CpuModel;
    state.ProcessTechnology = fresh.ProcessTechnology;
    state.PackageType = fresh.PackageType;
    state.CoreVoltage = fresh.CoreVoltage;
    state.MaxTemperature = fresh.MaxTemperature;
    state.L1CacheKb = fresh.L1CacheKb;
    state.L2CacheKb = fresh.L2CacheKb;
    state.FsbMhz = fresh.FsbMhz;
    state.CoreName = fresh.CoreName;
    state.ClockMhz = fresh.ClockMhz;
    state.Multiplier = fresh.Multiplier;
}

}  // namespace varnel
