#include "graph/chart_series.h"

#include "graph/cgm_header.h"
#include "graph/time_text.h"

namespace volt {

ChartSeries::ChartSeries(SeriesKind kind, std::atomic<std::int32_t>& live) noexcept
    : kind_(kind), liveMirror_(live) {
    liveMirror_.store(kFlagOn, std::memory_order_relaxed);
}

void ChartSeries::Clear() {
    const std::lock_guard lock(mutex_);
    points_.clear();
}

void ChartSeries::Append(double axis, std::uint32_t color) {
    const std::lock_guard lock(mutex_);
    points_.push_back({static_cast<float>(axis), color});
}

void ChartSeries::SetVisible(bool visible) {
    const std::lock_guard lock(mutex_);
    visible_ = visible;
    visibleAtEnd_ = visible;
}

std::size_t ChartSeries::PointCount() const {
    const std::lock_guard lock(mutex_);
    return points_.size();
}

double ChartSeries::Value(std::size_t index) const {
    const std::lock_guard lock(mutex_);
    return points_.at(index).Axis;
}

std::uint32_t ChartSeries::PointColor(std::size_t index) const {
    const std::lock_guard lock(mutex_);
    return points_.at(index).Color;
}

std::string ChartSeries::Label(std::size_t index) const {
    if (kind_ != SeriesKind::Voltage) {
        return {};
    }
    return "   " + TimeText(static_cast<std::int32_t>(index + 1)) + "   ";
}

bool ChartSeries::Visible() const {
    const std::lock_guard lock(mutex_);
    return visible_;
}

bool ChartSeries::Live() const {
    const std::lock_guard lock(mutex_);
    return live_;
}

std::vector<ChartPoint> ChartSeries::CopyPoints() const {
    const std::lock_guard lock(mutex_);
    return points_;
}

std::uint64_t ChartSeries::BeginRefill(bool visibleAtEnd) {
    std::vector<ChartPoint> old;
    {
        const std::lock_guard lock(mutex_);
        old.swap(points_);  // the old list's memory goes now, not when the refill installs
        visible_ = false;
        visibleAtEnd_ = visibleAtEnd;
        SetLiveLocked(false);
        return ++generation_;
    }
}

bool ChartSeries::IsNewestRefill(std::uint64_t generation) const {
    const std::lock_guard lock(mutex_);
    return generation == generation_;
}

void ChartSeries::SetLiveLocked(bool live) noexcept {
    live_ = live;
    liveMirror_.store(live ? kFlagOn : kFlagOff, std::memory_order_relaxed);
}

}  // namespace volt
