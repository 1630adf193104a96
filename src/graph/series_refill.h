#pragma once
// TDrawThread: rebuilds one chart series of a graph window from its sample list on a thread of
// its own. What the walk reads of the document's header (range, limit, Smoothing) and the
// colour are taken on the GUI thread when the refill starts (RefillSnapshot), so the thread
// touches nothing that the GUI thread writes except the list, which is append-only and linked
// with release/acquire. A newer refill of the same kind starts when one of these changes.

#include <atomic>
#include <cstdint>
#include <functional>
#include <stop_token>
#include <thread>
#include <vector>

#include "graph/chart_series.h"
#include "graph/graph_document.h"
#include "graph/series_kind.h"

namespace volt {

class ColorScheme;

struct RefillSnapshot {
    SeriesKind Kind = SeriesKind::Capacity;
    std::int32_t Min = 0;  // the range of the kind's quantity
    std::int32_t Max = 0;
    bool Smoothing = false;    // kinds 0 and 3
    std::int32_t Limit = 0;    // kinds 4 to 6: the limit drawn on every sample
    std::uint32_t Color = 0;   // every point of the refill carries it
    std::int32_t Samples = 0;  // SampleCount at the start: the point list is reserved for it
};

// GUI thread.
[[nodiscard]] RefillSnapshot TakeRefillSnapshot(const GraphDocument& document,
                                                const ColorScheme& colors, SeriesKind kind);

// The points of one walk, node by node from the first sample. Kinds 0 and 3 carry a follower:
// set to the value at TimeIndex 1; with Smoothing it then steps toward each value and the point
// is the follower (not below axis 0), without it the point is the value and the follower
// follows it.
class RefillWalk {
  public:
    explicit RefillWalk(const RefillSnapshot& snapshot);
    void Draw(const SampleRecord& node);
    [[nodiscard]] std::vector<ChartPoint>& Points() noexcept { return points_; }
    [[nodiscard]] bool HasFollower() const noexcept { return hasFollower_; }
    [[nodiscard]] std::int32_t Follower() const noexcept { return follower_; }

  private:
    RefillSnapshot snapshot_;
    std::vector<ChartPoint> points_;
    std::int32_t follower_ = 0;
    bool hasFollower_ = false;
};

class TDrawThread {
  public:
    // Starts at once. follower is the document's CapacityTrack or TemperatureTrack for kinds 0
    // and 3 (nullptr otherwise); installed runs on the refill thread after an install.
    TDrawThread(const GraphDocument& document, ChartSeries& series,
                std::atomic<std::int32_t>* follower, const RefillSnapshot& snapshot,
                std::uint64_t generation, std::function<void()> installed);
    ~TDrawThread();  // asks the walk to stop and joins it
    TDrawThread(const TDrawThread&) = delete;
    TDrawThread& operator=(const TDrawThread&) = delete;

    [[nodiscard]] SeriesKind Kind() const noexcept { return snapshot_.Kind; }
    void RequestStop() noexcept { thread_.request_stop(); }
    [[nodiscard]] bool Finished() const noexcept { return done_.load(std::memory_order_acquire); }
    void Join();

    // The body, also run on the calling thread when no thread can be started.
    static void Execute(std::stop_token stop, const GraphDocument& document, ChartSeries& series,
                        std::atomic<std::int32_t>* follower, const RefillSnapshot& snapshot,
                        std::uint64_t generation, const std::function<void()>& installed);

  private:
    const GraphDocument& document_;
    ChartSeries& series_;
    std::atomic<std::int32_t>* follower_;
    const RefillSnapshot snapshot_;
    const std::uint64_t generation_;
    const std::function<void()> installed_;
    std::atomic<bool> done_{false};
    std::jthread thread_;  // last: started once every field above is set
};

}  // namespace volt
