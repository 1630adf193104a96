#include "graph/graph_model.h"

#include <algorithm>

#include "appearance/color_scheme.h"
#include "graph/series_refill.h"

namespace volt {

bool SeriesVisibleFlag(const GraphDocument& document, SeriesKind kind) noexcept {
    const CgmHeader& h = document.Header;
    switch (kind) {
        case SeriesKind::Capacity:
            return IsOn(h.CapacityVisible);
        case SeriesKind::Voltage:
            return IsOn(h.VoltageVisible);
        case SeriesKind::Current:
            return IsOn(h.CurrentVisible);
        case SeriesKind::Temperature:
            return IsOn(h.TemperatureVisible);
        case SeriesKind::MaxLineVoltage:
            return IsOn(h.VoltageLimitShown);
        case SeriesKind::MaxLineCapacity:
            return IsOn(h.CapacityLimitShown);
        case SeriesKind::MaxLineTemp:
            return IsOn(h.TemperatureLimitShown);
    }
    return false;
}

GraphModel::GraphModel(const ColorScheme& colors, const LimitSettings& limits,
                       std::function<void()> refillInstalled)
    : colors_(colors), limits_(limits), refillInstalled_(std::move(refillInstalled)) {
    for (std::size_t k = 0; k < kSeriesKindCount; ++k) {
        const auto kind = static_cast<SeriesKind>(k);
        series_[k] = std::make_unique<ChartSeries>(kind, document_.SeriesLive[k]);
        series_[k]->SetVisible(SeriesVisibleFlag(document_, kind));
    }
    buttons_[static_cast<std::size_t>(LimitButton::Voltage)].Hint = "Show Voltage Limit";
    buttons_[static_cast<std::size_t>(LimitButton::Capacity)].Hint = "Show Capacity Limit";
    buttons_[static_cast<std::size_t>(LimitButton::Temperature)].Hint = "Show Temperature Limit";
}

GraphModel::~GraphModel() {
    CancelRefills();
}

void GraphModel::ReapFinishedRefills() {
    std::erase_if(refills_, [](const std::unique_ptr<TDrawThread>& refill) {
        return refill->Finished();  // its destructor joins a thread that has already ended
    });
}

void GraphModel::StartSeriesRefill(SeriesKind kind) {
    ReapFinishedRefills();
    for (auto& refill : refills_) {
        if (refill->Kind() == kind) {
            refill->RequestStop();  // superseded: it would not install anyway
        }
    }
    ChartSeries& series = Series(kind);
    const std::uint64_t generation = series.BeginRefill(SeriesVisibleFlag(document_, kind));
    std::atomic<std::int32_t>* follower = kind == SeriesKind::Capacity ? &document_.CapacityTrack
                                          : kind == SeriesKind::Temperature
                                              ? &document_.TemperatureTrack
                                              : nullptr;
    const std::uint32_t bit = 1U << SeriesIndex(kind);
    refills_.push_back(std::make_unique<TDrawThread>(
        document_, series, follower, TakeRefillSnapshot(document_, colors_, kind), generation,
        [this, bit] {
            installed_.fetch_or(bit, std::memory_order_acq_rel);
            if (refillInstalled_) {
                refillInstalled_();
            }
        }));
}

void GraphModel::JoinRefills() {
    for (auto& refill : refills_) {
        refill->Join();
    }
    refills_.clear();
}

void GraphModel::CancelRefills() {
    for (auto& refill : refills_) {
        refill->RequestStop();
    }
    JoinRefills();
}

}  // namespace volt
