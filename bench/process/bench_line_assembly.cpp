// Throughput of the console line assembly on converter-like output, fed in
// the 1024-byte pieces the runner delivers.

#include "ConverterOutput.h"

#include "process/JvReader.h"

#include <benchmark/benchmark.h>

static void LineAssembly(benchmark::State& state)
{
    const QByteArray output = ConverterOutput(16 * 1024 * 1024);
    QByteArray lastLine;
    qint64 reports = 0;
    TJvReader reader([&](const QByteArray& line, bool) {
        lastLine = line; // what a consumer that shows the latest line does
        ++reports;
    });
    for (auto _ : state) {
        reader.Reset();
        for (qsizetype offset = 0; offset < output.size(); offset += TJvReader::PieceSize) {
            const qsizetype size = std::min(TJvReader::PieceSize, output.size() - offset);
            reader.ParsePiece(output.constData() + offset, size);
        }
        benchmark::DoNotOptimize(lastLine.constData());
    }
    state.SetBytesProcessed(state.iterations() * output.size());
    state.counters["reports"] = benchmark::Counter(double(reports) / state.iterations());
}
BENCHMARK(LineAssembly)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
