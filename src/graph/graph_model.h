#pragma once
// The core of one graph window: its document (header and sample list), its seven chart series
// and the refill threads that rebuild them. Samples come in through AppendSample (recording),
// the series are rebuilt by StartSeriesRefill, and the window's chart reads the series.
//
// Threads. Everything here is called on the GUI thread except the refill bodies. A refill
// snapshots on the GUI thread what its walk needs (range, limit, Smoothing, colour), walks the
// append-only list on its own thread into a private point list, and installs that list in one
// short critical section of its series. Each refill of a kind gets a newer generation; only the
// newest one installs, and SeriesLive goes back to true only when it has. Starting a refill asks
// an older one of the same kind to stop.
//
// Completion: after an install the refill thread records its kind in a mask that the GUI
// thread polls with TakeInstalledRefills, then calls the notifier given at construction (on the
// refill thread: it must be thread-safe and quick, e.g. queue a repaint to the GUI thread).
//
// Destruction stops and joins every refill before the series and the nodes are freed.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graph/chart_series.h"
#include "graph/graph_document.h"
#include "graph/series_kind.h"

namespace volt {

class ColorScheme;
class TDrawThread;
struct LimitSettings;

// The three limit-line buttons of the value bar: rlb (voltage), glb (capacity), plb
// (temperature). Visible until the first SetLimits; then while their limit is not 0, with the
// limit's number as hint.
struct LimitButtonState {
    bool Visible = true;
    std::string Hint;

    friend bool operator==(const LimitButtonState&, const LimitButtonState&) = default;
};

enum class LimitButton : int { Voltage = 0, Capacity = 1, Temperature = 2 };
inline constexpr std::size_t kLimitButtonCount = 3;

class GraphModel {
  public:
    // colors and limits must outlive the model; both are read on the GUI thread only (a refill
    // takes its colour in its snapshot).
    GraphModel(const ColorScheme& colors, const LimitSettings& limits,
               std::function<void()> refillInstalled = {});
    ~GraphModel();
    GraphModel(const GraphModel&) = delete;
    GraphModel& operator=(const GraphModel&) = delete;

    [[nodiscard]] GraphDocument& Document() noexcept { return document_; }
    [[nodiscard]] const GraphDocument& Document() const noexcept { return document_; }
    [[nodiscard]] ChartSeries& Series(SeriesKind kind) noexcept {
        return *series_[SeriesIndex(kind)];
    }
    [[nodiscard]] const ChartSeries& Series(SeriesKind kind) const noexcept {
        return *series_[SeriesIndex(kind)];
    }
    [[nodiscard]] const ColorScheme& Colors() const noexcept { return colors_; }
    [[nodiscard]] const LimitSettings& Limits() const noexcept { return limits_; }

    [[nodiscard]] LimitButtonState& Button(LimitButton button) noexcept {
        return buttons_[static_cast<std::size_t>(button)];
    }
    [[nodiscard]] const LimitButtonState& Button(LimitButton button) const noexcept {
        return buttons_[static_cast<std::size_t>(button)];
    }

    // Clears and hides the series at once and rebuilds it from the first sample on a thread of
    // its own; returns at once. The series shows its visibility flag again when the newest
    // refill of its kind has installed.
    void StartSeriesRefill(SeriesKind kind);
    // Waits for every running refill to end (run-file loading, tests, benchmarks).
    void JoinRefills();
    // Asks every running refill to stop and waits for it; a stopped refill installs nothing.
    void CancelRefills();
    // Bit k set: a refill of kind k installed since the last call.
    [[nodiscard]] std::uint32_t TakeInstalledRefills() noexcept {
        return installed_.exchange(0, std::memory_order_acq_rel);
    }

  private:
    void ReapFinishedRefills();

    const ColorScheme& colors_;
    const LimitSettings& limits_;
    const std::function<void()> refillInstalled_;
    std::atomic<std::uint32_t> installed_{0};
    GraphDocument document_;
    std::array<std::unique_ptr<ChartSeries>, kSeriesKindCount> series_;
    std::array<LimitButtonState, kLimitButtonCount> buttons_;
    // Declared last: destroyed first, so no refill outlives the series or the nodes it reads.
    std::vector<std::unique_ptr<TDrawThread>> refills_;
};

// The visibility flag of the document that a series of this kind follows.
[[nodiscard]] bool SeriesVisibleFlag(const GraphDocument& document, SeriesKind kind) noexcept;

}  // namespace volt
