#pragma once
// One chart series of a graph window: its points in axis units (0..1000) with their colours,
// and its visibility. Point i is the sample with TimeIndex i + 1, so a voltage point's label is
// derived from its index instead of being stored.
//
// Threads: the GUI thread appends, clears, changes visibility and reads; a refill thread builds
// a whole new point list on its own and installs it here in one short critical section. Every
// operation takes the series' lock, so the chart may read at any time. Reads that need several
// points at once (painting) go through ReadPoints or CopyPoints, which see one consistent list.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "graph/series_kind.h"

namespace volt {

// 8 bytes: a float keeps an axis value (0..1000, unrounded for live points) to about 1e-4, far
// finer than one pixel or the last shown digit of a value read back through AxisToValue.
struct ChartPoint {
    float Axis = 0.0F;
    std::uint32_t Color = 0;  // ColorScheme encoding (0x00BBGGRR)

    friend bool operator==(const ChartPoint&, const ChartPoint&) = default;
};
static_assert(sizeof(ChartPoint) == 8);

// What a live append found under the series' lock.
enum class LiveAppend {
    Skipped,       // a refill of the series is running: the sample is left to it
    Widened,       // the range was recomputed: the caller starts a refill
    AlreadyDrawn,  // an installing refill reached this sample first
    Added,
};

class ChartSeries {
  public:
    // live mirrors the series' state into the document's SeriesLive entry for the cursor.
    ChartSeries(SeriesKind kind, std::atomic<std::int32_t>& live) noexcept;
    ChartSeries(const ChartSeries&) = delete;
    ChartSeries& operator=(const ChartSeries&) = delete;

    [[nodiscard]] SeriesKind Kind() const noexcept { return kind_; }

    // GUI thread.
    void Clear();
    void Append(double axis, std::uint32_t color);
    // The series' visibility, and the visibility it takes when a running refill installs.
    void SetVisible(bool visible);

    // Any thread.
    [[nodiscard]] std::size_t PointCount() const;
    [[nodiscard]] double Value(std::size_t index) const;  // index < PointCount()
    [[nodiscard]] std::uint32_t PointColor(std::size_t index) const;
    // Voltage points read "   " + TimeText(index + 1) + "   "; the other kinds carry none.
    [[nodiscard]] std::string Label(std::size_t index) const;
    [[nodiscard]] bool Visible() const;
    [[nodiscard]] bool Live() const;
    [[nodiscard]] std::vector<ChartPoint> CopyPoints() const;
    // Calls read(std::span<const ChartPoint>) under the lock; read must be short and must not
    // call back into this series.
    template <typename Read>
    void ReadPoints(Read&& read) const {
        const std::lock_guard lock(mutex_);
        read(std::span<const ChartPoint>(points_));
    }

    // The live append of the sample with timeIndex. Under the lock: nothing when not live; else
    // widen() -> bool may recompute the range; else the point make() -> ChartPoint is added,
    // unless an installing refill drew this sample already. make may update a follower: it runs
    // only when the point is added.
    template <typename Widen, typename Make>
    LiveAppend AppendLive(std::int32_t timeIndex, Widen&& widen, Make&& make) {
        const std::lock_guard lock(mutex_);
        if (!live_) {
            return LiveAppend::Skipped;
        }
        if (widen()) {
            return LiveAppend::Widened;
        }
        if (static_cast<std::int64_t>(timeIndex) <= static_cast<std::int64_t>(points_.size())) {
            return LiveAppend::AlreadyDrawn;
        }
        points_.push_back(make());
        return LiveAppend::Added;
    }

    // Refill side. Begin (GUI thread): clears and hides the series, marks it not live and
    // returns the refill's generation; visibleAtEnd is what the install shows.
    [[nodiscard]] std::uint64_t BeginRefill(bool visibleAtEnd);
    [[nodiscard]] bool IsNewestRefill(std::uint64_t generation) const;
    // Install (refill thread): when generation is still the newest, runs finish(points) under
    // the lock (the refill draws the samples appended since its walk ended and swaps its list
    // in), then makes the series live and gives it the visibility asked for. False when a newer
    // refill superseded this one; nothing is changed then.
    template <typename Finish>
    bool InstallRefill(std::uint64_t generation, Finish&& finish) {
        const std::lock_guard lock(mutex_);
        if (generation != generation_) {
            return false;
        }
        finish(points_);
        SetLiveLocked(true);
        visible_ = visibleAtEnd_;
        return true;
    }

  private:
    void SetLiveLocked(bool live) noexcept;

    const SeriesKind kind_;
    std::atomic<std::int32_t>& liveMirror_;
    mutable std::mutex mutex_;
    std::vector<ChartPoint> points_;
    bool visible_ = false;
    bool visibleAtEnd_ = false;
    bool live_ = true;
    std::uint64_t generation_ = 0;  // of the newest refill begun
};

}  // namespace volt
