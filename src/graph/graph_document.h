#pragma once
// The data of one graph window. The sample list starts with a head node (TimeIndex 0, never
// shown) and only ever grows at its tail, on the GUI thread. Refill threads may walk it from
// ListHead at the same time: a node is linked only once it is complete, and no node is freed or
// moved until the document is destroyed, which the owner does only after its refills are joined.
// The header block (Header) is the run-file header; everything else lives only in memory.

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "graph/cgm_header.h"
#include "graph/sample_record.h"
#include "graph/series_kind.h"

namespace volt {

inline constexpr std::uint8_t kNoCellBarType = 255;
inline constexpr std::int32_t kNoCrossPosition = -1;  // pixels; no cross-hair drawn
inline constexpr std::int32_t kTrackUnset = -99998;   // follower of a smoothed curve not seeded

class GraphDocument {
  public:
    // Allocates the head node; every field gets the value of a newly created window.
    GraphDocument();
    // Frees every node, the head included, exactly once, walking the list (no recursion).
    ~GraphDocument();
    GraphDocument(const GraphDocument&) = delete;
    GraphDocument& operator=(const GraphDocument&) = delete;

    std::int32_t MouseDown = kFlagOff;
    std::int32_t CrossX = kNoCrossPosition;
    std::int32_t CrossY = kNoCrossPosition;
    std::int32_t CursorRecoveryPending = kFlagOff;
    std::int32_t CursorRecoveryTicks = 0;  // CursorRecoveryTimer ticks
    std::uint8_t CellBarType = kNoCellBarType;
    CgmHeader Header;
    SampleRecord* ListHead = nullptr;  // fixed for the document's life: safe to read anywhere
    SampleRecord* ExportCursor = nullptr;
    SampleRecord* CurrentSample = nullptr;
    SampleRecord* ListTail = nullptr;  // GUI thread only; walkers stop at a null Next instead
    // Shared with refill threads: -1 = series complete and taking live points, 0 = refilling.
    std::array<std::atomic<std::int32_t>, kSeriesKindCount> SeriesLive;
    std::int32_t Modified = kFlagOff;
    std::atomic<std::int32_t> CapacityTrack{kTrackUnset};
    std::atomic<std::int32_t> TemperatureTrack{kTrackUnset};
    std::int32_t PointerInPlot = kFlagOff;
};

// Moves CurrentSample to the node carrying timeIndex, stepping from where it stands; true when
// found. A time beyond the tail leaves it on the tail, one below 0 on the head node. GUI thread.
[[nodiscard]] bool NavigateTo(GraphDocument& document, std::int32_t timeIndex) noexcept;

// Windows-1252 text; at most 63 characters are kept, the rest is cut. The bytes behind the
// terminating zero are cleared so no trace of a longer old title remains.
void SetTitle(GraphDocument& document, std::string_view cp1252Text) noexcept;
// The edge for UTF-8 text: characters that Windows-1252 lacks become '?', then as SetTitle.
void SetTitleUtf8(GraphDocument& document, std::string_view utf8Text);
[[nodiscard]] std::string TitleUtf8(const GraphDocument& document);

// Appends a node behind ListTail with TimeIndex = tail's + 1 and makes it the tail; GUI thread.
// Returns the node, or nullptr when it cannot be allocated (the list is then unchanged).
// SampleCount is left to the caller: the recording step counts an accepted sample, and the
// run-file reader appends the SampleCount nodes its header already announces.
[[nodiscard]] SampleRecord* AppendSampleNode(GraphDocument& document,
                                             const SampleValues& values) noexcept;

// Walking the list on any thread while the document lives: follows Next with acquire, so a
// node seen is completely written. A walk ends at the node that was the tail when it got there.
[[nodiscard]] inline const SampleRecord* NextSample(const SampleRecord& node) noexcept {
    return node.Next.load(std::memory_order_acquire);
}
// The first sample after the head node, or nullptr for an empty list.
[[nodiscard]] inline const SampleRecord* FirstSample(const GraphDocument& document) noexcept {
    return NextSample(*document.ListHead);
}

template <typename Visit>
void ForEachSample(const GraphDocument& document, Visit&& visit) {
    for (const SampleRecord* node = FirstSample(document); node != nullptr;
         node = NextSample(*node)) {
        visit(*node);
    }
}

}  // namespace volt
