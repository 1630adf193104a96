// Series refill, navigation and memory of a full graph window (28800 samples, 8 hours).

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>

#include "appearance/color_scheme.h"
#include "files/limit_settings.h"
#include "graph/graph_model.h"
#include "graph/sample_recording.h"

long LiveAllocatedBytes() noexcept;

namespace volt {
namespace {

class SilentWindow final : public RecordingWindow {
  public:
    [[nodiscard]] std::string Caption() const override { return {}; }
    void SetCaption(std::string_view) override {}
    void DetachFromChannels() override {}
    void ShowMessage(std::string_view) override {}
    void ShowValueLabels(const ValueLabelValues&) override {}
};

SampleReading Reading(std::int32_t i) {
    SampleReading r;
    r.Voltage = 1150 + (i % 300);
    r.Current = 1500 - (i % 700);
    r.Capacity = i / 10;
    r.Temperature = 25 + (i / 600) % 20;
    r.Cells.fill(static_cast<std::int16_t>(380 + i % 30));
    return r;
}

void Record(GraphModel& model, std::int32_t samples) {
    SilentWindow window;
    for (std::int32_t i = 0; i < samples; ++i) {
        if (!AppendSample(model, window, 2, Reading(i))) {
            break;
        }
    }
    model.JoinRefills();
}

const ColorScheme kColors;
const LimitSettings kLimits = kDefaultLimitSettings;

void BM_RefillOneSeries(benchmark::State& state) {
    GraphModel model(kColors, kLimits);
    Record(model, static_cast<std::int32_t>(state.range(0)));
    model.Document().Header.Smoothing = state.range(1) == 0 ? kFlagOff : kFlagOn;
    const auto kind = state.range(1) == 0 ? SeriesKind::Voltage : SeriesKind::Capacity;
    for (auto _ : state) {
        model.StartSeriesRefill(kind);  // thread start, walk, install, join
        model.JoinRefills();
    }
    state.counters["points"] = static_cast<double>(model.Series(kind).PointCount());
}
BENCHMARK(BM_RefillOneSeries)
    ->Args({28800, 0})
    ->Args({28800, 1})
    ->ArgNames({"samples", "smoothed_capacity"})
    ->Unit(benchmark::kMillisecond);

void BM_NavigateToNeighbour(benchmark::State& state) {
    GraphModel model(kColors, kLimits);
    const auto samples = static_cast<std::int32_t>(state.range(0));
    Record(model, samples);
    GraphDocument& doc = model.Document();
    std::int32_t t = 0;
    std::int32_t direction = 1;
    for (auto _ : state) {
        if (t + direction < 1 || t + direction > samples) {
            direction = -direction;
        }
        t += direction;
        benchmark::DoNotOptimize(NavigateTo(doc, t));
    }
}
BENCHMARK(BM_NavigateToNeighbour)->Arg(100)->Arg(1000)->Arg(8000)->Arg(28800);

// Bytes held by one window after 28800 recorded seconds: the nodes, the seven series and the
// document. "requested" counts operator new sizes; "heap" is glibc's in-use figure, which also
// holds the allocator's per-block overhead.
void BM_FullWindowMemory(benchmark::State& state) {
    for (auto _ : state) {
        const long before = LiveAllocatedBytes();
        const std::size_t heapBefore = mallinfo2().uordblks;
        auto model = std::make_unique<GraphModel>(kColors, kLimits);
        Record(*model, kMaxSampleTime);
        if (state.range(0) != 0) {
            for (std::size_t k = 0; k < kSeriesKindCount; ++k) {
                model->StartSeriesRefill(static_cast<SeriesKind>(k));
            }
            model->JoinRefills();
        }
        const auto requested = static_cast<double>(LiveAllocatedBytes() - before);
        const auto heap = static_cast<double>(mallinfo2().uordblks - heapBefore);
        state.counters["requested_MB"] = requested / 1e6;
        state.counters["requested_per_sample"] = requested / kMaxSampleTime;
        state.counters["heap_MB"] = heap / 1e6;
        state.counters["heap_per_sample"] = heap / kMaxSampleTime;
        state.counters["samples"] = model->Document().Header.SampleCount;
    }
}
BENCHMARK(BM_FullWindowMemory)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("all_refilled")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace volt

BENCHMARK_MAIN();
