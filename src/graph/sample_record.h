#pragma once
// One second of a run: a node of the append-only, doubly linked sample list of a graph document.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "common/cell_count.h"
#include "graph/series_kind.h"

namespace volt {

// The measured values of one sample, as the recording tick or a run file delivers them.
struct SampleValues {
    std::int32_t Voltage = 0;      // 1/100 V
    std::int32_t Current = 0;      // mA
    std::int32_t Capacity = 0;     // mAh
    std::int32_t Temperature = 0;  // whole degrees, Fahrenheit marker already removed
    std::array<std::int16_t, kCellCount> Cells{};  // 1/100 V, cell 1 first
};

struct SampleRecord {
    std::int32_t TimeIndex = 0;  // seconds since the run started; the head node has 0
    SampleRecord* Prev = nullptr;
    std::int32_t Voltage = 0;
    std::int32_t Current = 0;
    std::int32_t Capacity = 0;
    std::int32_t Temperature = 0;
    std::array<std::int16_t, kCellCount> Cells{};
    // Refill threads walk the list while the GUI thread appends: a node is linked here with a
    // release store only after it is completely written, and followed with an acquire load.
    std::atomic<SampleRecord*> Next{nullptr};
};

// The measured value a curve of the given kind draws from a sample: voltage, current, capacity or
// temperature. The limit-line kinds draw no sample value; they read as the temperature here.
[[nodiscard]] constexpr std::int32_t MeasuredValue(SeriesKind kind,
                                                   const SampleRecord& node) noexcept {
    switch (kind) {
        case SeriesKind::Capacity:
            return node.Capacity;
        case SeriesKind::Voltage:
            return node.Voltage;
        case SeriesKind::Current:
            return node.Current;
        default:
            return node.Temperature;
    }
}

}  // namespace volt
