#include "graph/series_refill.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <system_error>

#include "appearance/color_scheme.h"
#include "graph/follower_step.h"
#include "graph/scale_mapping.h"

namespace volt {
namespace {

constexpr std::size_t kReserveSlack = 64;  // samples that may arrive while the walk runs

std::int32_t NodeValue(SeriesKind kind, const SampleRecord& node, std::int32_t limit) noexcept {
    // A limit line draws its limit at every sample; a curve draws the sample's value.
    return SeriesIndex(kind) >= SeriesIndex(SeriesKind::MaxLineVoltage) ? limit
                                                                        : MeasuredValue(kind, node);
}

}  // namespace

RefillSnapshot TakeRefillSnapshot(const GraphDocument& document, const ColorScheme& colors,
                                  SeriesKind kind) {
    const CgmHeader& h = document.Header;
    RefillSnapshot s;
    s.Kind = kind;
    s.Smoothing = IsOn(h.Smoothing);
    s.Samples = h.SampleCount;
    switch (kind) {
        case SeriesKind::Capacity:
            s.Min = h.CapacityMin;
            s.Max = h.CapacityMax;
            s.Color = colors.Get(kCapacityArea);
            break;
        case SeriesKind::Voltage:
            s.Min = h.VoltageMin;
            s.Max = h.VoltageMax;
            s.Color = colors.Get(kVoltageColor);
            break;
        case SeriesKind::Current:
            s.Min = h.CurrentMin;
            s.Max = h.CurrentMax;
            s.Color = colors.Get(kCurrentColor);
            break;
        case SeriesKind::Temperature:
            s.Min = h.TemperatureMin;
            s.Max = h.TemperatureMax;
            s.Color = colors.Get(kTemperatureColor);
            break;
        case SeriesKind::MaxLineVoltage:
            s.Min = h.VoltageMin;
            s.Max = h.VoltageMax;
            s.Limit = h.VoltageLimit;
            s.Color = colors.Get(kVoltageColor);
            break;
        case SeriesKind::MaxLineCapacity:
            s.Min = h.CapacityMin;
            s.Max = h.CapacityMax;
            s.Limit = h.CapacityLimit;
            s.Color = colors.Get(kCapacityColor);
            break;
        case SeriesKind::MaxLineTemp:
            s.Min = h.TemperatureMin;
            s.Max = h.TemperatureMax;
            s.Limit = h.TemperatureLimit;
            s.Color = colors.Get(kTemperatureColor);
            break;
    }
    return s;
}

RefillWalk::RefillWalk(const RefillSnapshot& snapshot) : snapshot_(snapshot) {
    points_.reserve(static_cast<std::size_t>(std::max(snapshot.Samples, 0)) + kReserveSlack);
}

void RefillWalk::Draw(const SampleRecord& node) {
    const std::int32_t value = NodeValue(snapshot_.Kind, node, snapshot_.Limit);
    double axis = 0.0;
    const bool followed =
        snapshot_.Kind == SeriesKind::Capacity || snapshot_.Kind == SeriesKind::Temperature;
    if (followed && node.TimeIndex == 1) {
        follower_ = value;
        hasFollower_ = true;
    }
    if (followed && snapshot_.Smoothing) {
        follower_ = MoveFollowerInRefill(follower_, value);
        hasFollower_ = true;
        axis = std::max(ScaleToAxis(follower_, snapshot_.Min, snapshot_.Max), 0.0);
    } else {
        axis = ScaleToAxis(value, snapshot_.Min, snapshot_.Max);
        if (followed) {
            follower_ = value;
            hasFollower_ = true;
        }
    }
    // The default rounding mode: nearest, halves to even.
    points_.push_back({static_cast<float>(std::nearbyint(axis)), snapshot_.Color});
}

TDrawThread::TDrawThread(const GraphDocument& document, ChartSeries& series,
                         std::atomic<std::int32_t>* follower, const RefillSnapshot& snapshot,
                         std::uint64_t generation, std::function<void()> installed)
    : document_(document),
      series_(series),
      follower_(follower),
      snapshot_(snapshot),
      generation_(generation),
      installed_(std::move(installed)) {
    try {
        thread_ = std::jthread([this](std::stop_token stop) {
            Execute(stop, document_, series_, follower_, snapshot_, generation_, installed_);
            done_.store(true, std::memory_order_release);
        });
    } catch (const std::system_error&) {
        // No thread to be had: the refill runs here rather than leave the series empty.
        Execute({}, document_, series_, follower_, snapshot_, generation_, installed_);
        done_.store(true, std::memory_order_release);
    }
}

TDrawThread::~TDrawThread() {
    RequestStop();
    Join();
}

void TDrawThread::Join() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

void TDrawThread::Execute(std::stop_token stop, const GraphDocument& document, ChartSeries& series,
                          std::atomic<std::int32_t>* follower, const RefillSnapshot& snapshot,
                          std::uint64_t generation, const std::function<void()>& installed) {
    try {
        RefillWalk walk(snapshot);
        const SampleRecord* last = nullptr;
        for (const SampleRecord* node = FirstSample(document); node != nullptr;
             node = NextSample(*node)) {
            if (stop.stop_requested()) {
                return;
            }
            walk.Draw(*node);
            last = node;
        }
        const bool done = series.InstallRefill(generation, [&](std::vector<ChartPoint>& points) {
            // Samples appended since the walk ended found the series not live and were left to
            // the refill: draw them here, under the lock the append takes, so none is lost.
            for (const SampleRecord* node = last != nullptr ? NextSample(*last)
                                                            : FirstSample(document);
                 node != nullptr; node = NextSample(*node)) {
                walk.Draw(*node);
            }
            points.swap(walk.Points());
            if (follower != nullptr && walk.HasFollower()) {
                follower->store(walk.Follower(), std::memory_order_relaxed);
            }
        });
        if (done && installed) {
            installed();
        }
    } catch (const std::bad_alloc&) {
        // No memory for the point list: the series stays empty and hidden; the next refill of
        // its kind tries again.
    }
}

}  // namespace volt
