// Run file and CSV export of a full run (28800 samples, eight hours at one per second): reading
// and writing the file, in memory and on disk, and assembling and saving the export.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "common/file_replace.h"
#include "files/csv_export.h"
#include "files/run_file.h"
#include "graph/graph_document.h"
#include "monitor/battery_type_names.h"

namespace volt {
namespace {

constexpr int kFullRunSamples = 28800;

std::unique_ptr<GraphDocument> FullRun() {
    auto document = std::make_unique<GraphDocument>();
    SetTitle(*document, "CH1 Charge LiPo 3S");
    document->Header.Mode = 2;
    document->Header.BatteryType = 1;
    for (int k = 1; k <= kFullRunSamples; ++k) {
        SampleValues v;
        v.Voltage = 1100 + k % 160;
        v.Current = 2000 - k % 1500;
        v.Capacity = k / 13;
        v.Temperature = 20 + k % 25;
        for (std::size_t c = 0; c < kCellCount; ++c) {
            v.Cells[c] = static_cast<std::int16_t>(370 + (k + static_cast<int>(c)) % 50);
        }
        if (AppendSampleNode(*document, v) == nullptr) {
            break;
        }
        ++document->Header.SampleCount;
    }
    return document;
}

std::filesystem::path BenchFolder() {
    auto folder =
        std::filesystem::temp_directory_path() / ("volt-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    return folder;
}

void BM_ReadRunFileBytes(benchmark::State& state) {
    const std::vector<std::uint8_t> image = BuildRunFileImage(*FullRun());
    for (auto _ : state) {
        RunFileRead read = ReadRunFile(image);
        benchmark::DoNotOptimize(read.Report.SamplesLoaded);
    }
}
BENCHMARK(BM_ReadRunFileBytes)->Unit(benchmark::kMillisecond);

void BM_ReadRunFileFromDisk(benchmark::State& state) {
    const auto folder = BenchFolder();
    auto document = FullRun();
    if (WriteRunFile(*document, folder / "full.CGM")) {
        state.SkipWithError("cannot write the run file");
        return;
    }
    for (auto _ : state) {
        RunFileRead read = ReadRunFile(folder / "full.CGM");
        benchmark::DoNotOptimize(read.Report.SamplesLoaded);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ReadRunFileFromDisk)->Unit(benchmark::kMillisecond);

void BM_BuildRunFileImage(benchmark::State& state) {
    const auto document = FullRun();
    for (auto _ : state) {
        auto image = BuildRunFileImage(*document);
        benchmark::DoNotOptimize(image.data());
    }
}
BENCHMARK(BM_BuildRunFileImage)->Unit(benchmark::kMillisecond);

void BM_WriteRunFileToDisk(benchmark::State& state) {
    const auto folder = BenchFolder();
    auto document = FullRun();
    for (auto _ : state) {
        if (WriteRunFile(*document, folder / "full.CGM")) {
            state.SkipWithError("cannot write the run file");
            break;
        }
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WriteRunFileToDisk)->Unit(benchmark::kMillisecond);

void BM_CsvExport(benchmark::State& state) {
    const auto document = FullRun();
    const BatteryTypeNames names;
    ExportBuffer buffer;
    for (auto _ : state) {
        if (FillCsvExport(buffer, *document, names, {2026, 1, 2, 3, 4, 5})) {
            state.SkipWithError("export refused");
            break;
        }
        benchmark::DoNotOptimize(buffer.Text().data());
    }
    state.counters["bytes"] = static_cast<double>(buffer.Text().size());
}
BENCHMARK(BM_CsvExport)->Unit(benchmark::kMillisecond);

void BM_CsvExportAndSave(benchmark::State& state) {
    const auto folder = BenchFolder();
    const auto document = FullRun();
    const BatteryTypeNames names;
    ExportBuffer buffer;
    for (auto _ : state) {
        if (FillCsvExport(buffer, *document, names, {2026, 1, 2, 3, 4, 5}) ||
            buffer.SaveText(folder / "full.CSV")) {
            state.SkipWithError("export failed");
            break;
        }
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_CsvExportAndSave)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace volt

BENCHMARK_MAIN();
