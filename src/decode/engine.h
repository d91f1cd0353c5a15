#pragma once

#include <QString>
#include <span>

#include "decode_state.h"
#include "ports.h"
#include "tables.h"

namespace varnel {

// The decoding of one processor marking: the Check command and the chain of
// stages it runs over the surface. Holds the one DecodeState of the program.
class DecodeEngine {
  public:
    DecodeEngine(Surface& surface, Prompter& prompter, UrlOpener& opener);

    // The "Check" button: refuses empty boxes, otherwise decodes the three codes.
    void Check();

    // Blanks all nineteen result slots.
    void ClearLbl();
    // Puts Codes Two and Three back in their boxes when they were typed into
    // each other's.
    void FixCode2and3();
    void CodeError(const QString& text);
    void GetAMD64ModelInformation();

    const DecodeState& State() const { return state_; }
    // Whether the last Check that started ran through to the final results.
    bool LastRunCompleted() const { return lastRunCompleted_; }

  private:
    // Each stage returns whether the run goes on to the next one.
    bool IdentifyFamily();
    bool ReadModelNumber();
    bool ProceedToPerformanceModel();
    bool ShowPerformanceModel();
    bool DecodePackage();
    bool DecodeVoltage();
    bool DecodeTemperature();
    bool DecodeCacheSize();
    bool DecodeBusSpeed();
    bool IdentifyCore();
    bool ReadLaserMarker();
    bool DecodeStepping();
    bool RefineCoreName();
    bool DecodeDateAndBatch();
    bool ReadBatchCodes();
    bool ComputeClock();
    bool ProceedToResults();
    bool ShowResults();

    // Side steps: they never end the run.
    void ReadAmd64RevisionCode();
    void ReadSteppingCode(std::int16_t boxIndex);
    void ReadDateCode(std::int16_t boxIndex);

    void ShowMalformedCodeOne();
    void ApplyFirstCoreRule(std::span<const tables::CoreRule> rules);
    void ApplyCoreOutcome(const tables::CoreOutcome& outcome);
    bool ComputeK7Clock();
    const tables::K7ClockBranch* FindK7ClockBranch() const;
    tables::ClockCell K7ClockCell(int column) const;
    void LookUpK8Clock(std::span<const tables::K8ClockBranch> branches);
    void ApplyK8Row(const tables::K8ClockRow* row);
    void ComputeMultiplierFromClock(int busMhz);
    QStringView CharacterAfterModel(int offset) const;

    using Stage = bool (DecodeEngine::*)();
    static const Stage kChain[];

    Surface& surface_;
    Prompter& prompter_;
    UrlOpener& opener_;
    DecodeState state_;
    bool lastRunCompleted_ = false;
};

}  // namespace varnel
