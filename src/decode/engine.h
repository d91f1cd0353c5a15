#pragma once

#include <QString>

#include "decode_state.h"
#include "ports.h"

namespace varnel {

// The decoding of one processor marking: the Check command and the chain of
// stages it runs over the surface. Holds the one DecodeState of the program.
class DecodeEngine {
  public:
    DecodeEngine(Surface& surface, Prompter& prompter, UrlOpener& opener);

    // The "Check" button: refuses empty boxes, otherwise decodes the three
    // codes. Returns whether a run started; a refusal leaves the window as it
    // was, results and caption of the last run included.
    bool Check();

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
