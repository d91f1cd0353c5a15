#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <string>

#include "catalogue/catalogue.h"
#include "catalogue/comparison.h"
#include "cli/batch_input.h"
#include "cli/decode_run.h"
#include "decode/program.h"
#include "report/sheet_formats.h"

namespace {

using varnel::Codes;

const Codes kBarton{QStringLiteral("AXDA2500DKV4D"), QStringLiteral("KQXEB0345MPMW"),
                    QStringLiteral("Y3121234")};
const Codes kNewcastle{QStringLiteral("ADA3200AEP4AX"), QStringLiteral("CBBHD0501APAW"),
                       QStringLiteral("1234567890")};
// An unknown family prefix: the run stops in the first stage with a message.
const Codes kStop{QStringLiteral("AXDX2000"), QStringLiteral("KQXEB0345MPMW"),
                  QStringLiteral("Y3121234")};

// One marking as varnel-decode decodes it: a fresh program's state, one Check.
void BM_Decode(benchmark::State& state, const Codes& codes) {
    varnel::cli::MarkingDecoder decoder;
    for (auto _ : state) {
        benchmark::DoNotOptimize(&decoder.Decode(codes));
    }
}
BENCHMARK_CAPTURE(BM_Decode, K7_AthlonXP_Barton, kBarton);
BENCHMARK_CAPTURE(BM_Decode, K8_Athlon64_Newcastle, kNewcastle);
BENCHMARK_CAPTURE(BM_Decode, Stop_UnknownFamily, kStop);

// One line of a batch from its bytes to its CSV row: parse, decode, write.
void BM_BatchLineToCsv(benchmark::State& state) {
    const QByteArrayView line("AXDA2500DKV4D,KQXEB0345MPMW,Y3121234");
    varnel::cli::MarkingDecoder decoder;
    std::string out;
    for (auto _ : state) {
        out.clear();
        const varnel::cli::BatchLine parsed = varnel::cli::ParseBatchLine(line, false);
        varnel::report::AppendCsvRow(out, decoder.Decode(parsed.codes));
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_BatchLineToCsv);

// One line of a batch to its JSON object, held against the catalogue.
void BM_BatchLineToJson(benchmark::State& state) {
    const QByteArrayView line("AXDA2500DKV4D,KQXEB0345MPMW,Y3121234");
    varnel::cli::MarkingDecoder decoder;
    varnel::catalogue::Comparer comparer(varnel::catalogue::Catalogue::Builtin());
    std::string out;
    for (auto _ : state) {
        out.clear();
        const varnel::cli::BatchLine parsed = varnel::cli::ParseBatchLine(line, false);
        const varnel::Sheet& sheet = decoder.Decode(parsed.codes);
        varnel::report::AppendJsonObject(out, sheet, comparer.Compare(sheet));
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_BatchLineToJson);

// The comparison of one catalogued marking with its part: the lookup of
// Code One and every fact held against the decode.
void BM_CompareWithCatalogue(benchmark::State& state, const Codes& codes) {
    varnel::cli::MarkingDecoder decoder;
    const varnel::Sheet sheet = decoder.Decode(codes);
    varnel::catalogue::Comparer comparer(varnel::catalogue::Catalogue::Builtin());
    for (auto _ : state) {
        benchmark::DoNotOptimize(comparer.Compare(sheet));
    }
}
BENCHMARK_CAPTURE(BM_CompareWithCatalogue, K7_AthlonXP_Barton, kBarton);
BENCHMARK_CAPTURE(BM_CompareWithCatalogue, K8_Athlon64_Newcastle, kNewcastle);

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
