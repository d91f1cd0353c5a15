#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <string>

#include "batch_input.h"
#include "decode_run.h"
#include "engine.h"
#include "fakes.h"
#include "output_format.h"
#include "shell.h"

namespace {

using varnel::cli::Codes;

const Codes kBarton{QStringLiteral("AXDA2500DKV4D"), QStringLiteral("KQXEB0345MPMW"),
                    QStringLiteral("Y3121234")};
const Codes kNewcastle{QStringLiteral("ADA3200AEP4AX"), QStringLiteral("CBBHD0501APAW"),
                       QStringLiteral("1234567890")};
// An unknown family prefix: the run stops in the first stage with a message.
const Codes kStop{QStringLiteral("AXDX2000"), QStringLiteral("KQXEB0345MPMW"),
                  QStringLiteral("Y3121234")};

void BM_Decode(benchmark::State& state, const Codes& codes) {
    for (auto _ : state) {
        varnel::cli::Outcome outcome = varnel::cli::DecodeMarking(codes);
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK_CAPTURE(BM_Decode, K7_AthlonXP_Barton, kBarton);
BENCHMARK_CAPTURE(BM_Decode, K8_Athlon64_Newcastle, kNewcastle);
BENCHMARK_CAPTURE(BM_Decode, Stop_UnknownFamily, kStop);

// The engine's Check alone over a fresh sheet, without gathering the
// outcome: what the decoder's own wrapping adds is the difference.
void BM_EngineCheck(benchmark::State& state, const Codes& codes) {
    for (auto _ : state) {
        varnel::MemorySurface surface;
        varnel::ScriptedPrompter prompter;
        varnel::RecordingUrlOpener opener;
        varnel::DecodeEngine engine(surface, prompter, opener);
        surface.SetCodes(codes[0], codes[1], codes[2]);
        engine.Check();
        benchmark::DoNotOptimize(surface);
    }
}
BENCHMARK_CAPTURE(BM_EngineCheck, K7_AthlonXP_Barton, kBarton);
BENCHMARK_CAPTURE(BM_EngineCheck, Stop_UnknownFamily, kStop);

// One line of a batch from its bytes to its CSV row: parse, decode, write.
void BM_BatchLineToCsv(benchmark::State& state) {
    const QByteArrayView line("AXDA2500DKV4D,KQXEB0345MPMW,Y3121234");
    std::string out;
    for (auto _ : state) {
        out.clear();
        const varnel::cli::BatchLine parsed = varnel::cli::ParseBatchLine(line, false);
        varnel::cli::AppendCsvRow(out, varnel::cli::DecodeMarking(parsed.codes));
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_BatchLineToCsv);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    varnel::SetApplicationIdentity();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
