#pragma once

#include <QString>
#include <span>

#include "decode/decode_state.h"
#include "decode/ports.h"
#include "decode/sheet.h"
#include "decode/tables.h"

namespace varnel {

// The decoding of one processor marking: the Check command and the chain of
// stages it runs. Holds the one DecodeState of the program and the sheet the
// last Check produced.
class DecodeEngine {
  public:
    DecodeEngine(Prompter& prompter, UrlOpener& opener);

    // The "Check" button over the three codes as the boxes hold them. Refuses
    // when a code is empty (returns false: no run started); otherwise runs the
    // chain and returns true, the outcome on Results().
    bool Check(const Codes& codes);

    // What the last Check produced. While a run is under way (a message is
    // being shown), what it has produced so far.
    const Sheet& Results() const { return sheet_; }
    // Whether a run is under way: between the start of the chain and its end.
    bool Running() const { return running_; }

    // Back to the state of a freshly started program, as if no Check had
    // ever been pressed.
    void Restart();

    // Puts Codes Two and Three back in their places when they were typed into
    // each other's boxes.
    static void FixCode2and3(Codes& codes);

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

    // Blanks all nineteen values.
    void ClearLbl();
    void GetAMD64ModelInformation();
    // Sets the family of the prefix Code One opens with; whether any matched.
    bool MatchFamilyPrefix();
    bool ReadBatchNumber();
    bool ReadBatchLetter();
    void ShowCpuModel();
    void RefuseEmptyBox(const Codes& codes);
    // Records why the run stops and which code (1 to 3) it is about.
    void Stop(StopReason reason, int code);
    MessageAnswer Show(const Message& message) { return prompter_.Show(message); }
    // Shows a value; read tells whether the rules produced it or it stands
    // for one they could not read.
    void SetValue(Field field, QStringView text, bool read = true);
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

    // Puts every message on the sheet, in order, before the user sees it.
    class Recorder : public Prompter {
      public:
        Recorder(Sheet& sheet, Prompter& user) : sheet_(sheet), user_(user) {}
        MessageAnswer Show(const Message& message) override {
            sheet_.messages.append(message);
            return user_.Show(message);
        }

      private:
        Sheet& sheet_;
        Prompter& user_;
    };

    UrlOpener& opener_;
    DecodeState state_;
    Sheet sheet_;
    Recorder prompter_;
    bool running_ = false;
    bool lastRunCompleted_ = false;
};

}  // namespace varnel
