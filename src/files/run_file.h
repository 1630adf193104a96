#pragma once
// Run files (.CGM): the 277-byte header image of a graph document, then SampleCount value
// records (Voltage, Current, Capacity, Temperature: 4 x int32) and then SampleCount cell records
// (12 x int16), all little-endian, oldest sample first. TimeIndex is not stored: the k-th sample
// has k. The reader fills a fresh document; the writer builds the whole image in memory and
// replaces the file in one step, so a failed save leaves the old file whole.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/program_messages.h"
#include "graph/cgm_header.h"

namespace volt {

class BatteryTypeNames;
class GraphDocument;
class LocalClock;

inline constexpr std::size_t kValueRecordBytes = 16;
inline constexpr std::size_t kCellRecordBytes = 24;
// A header that promises more samples than the file holds gets at most this many zero-filled
// samples behind the ones present (one full run), so a damaged count cannot exhaust memory.
inline constexpr std::int64_t kMaxZeroFilledSamples = 28800;

enum class RunFileReadStatus {
    Loaded,       // header and samples are in the document
    Missing,      // no such file: nothing to do
    NotRunFile,   // the magic is wrong or the file cannot be read: "File Error"
    OutOfMemory,  // a node could not be allocated; the samples before it are loaded
};

struct RunFileReadReport {
    RunFileReadStatus Status = RunFileReadStatus::Loaded;
    std::int32_t DeclaredSampleCount = 0;  // as the header said
    std::int32_t SamplesLoaded = 0;        // SampleCount of the document now
    // The header's count was negative or beyond the bound and was set to the samples loaded,
    // so that header and list agree and a later save writes a consistent file.
    bool SampleCountCorrected = false;
    // Some value or cell records were missing and read as zeros.
    bool ZeroFilled = false;

    // The text the window shows, or nothing for a silent outcome.
    [[nodiscard]] std::optional<std::string_view> Message() const noexcept;
};

struct RunFileRead {
    std::unique_ptr<GraphDocument> Document;  // never null; empty unless loaded
    RunFileReadReport Report;
};

// Fills `fresh`, a document whose list holds only its head node, from the bytes of a run file.
// The header bytes present replace the document's; missing ones keep their values. Modified is
// cleared. Not a run file: the document is left as it was.
RunFileReadReport LoadRunFile(GraphDocument& fresh, std::span<const std::uint8_t> bytes) noexcept;

[[nodiscard]] RunFileRead ReadRunFile(std::span<const std::uint8_t> bytes);
[[nodiscard]] RunFileRead ReadRunFile(const std::filesystem::path& path);

// The file image of a document: the header with the magic and with SampleCount set to the
// records that follow, which are the first SampleCount samples of the list (fewer if the list
// is shorter).
[[nodiscard]] std::vector<std::uint8_t> BuildRunFileImage(const GraphDocument& document);

// Stores the magic into the first 16 bytes of FileMagic and replaces the file at `path` with
// the document's image. On success Modified is cleared and nothing is returned; on failure the
// old file is whole, Modified is unchanged and the platform's error text is returned.
[[nodiscard]] std::optional<std::string> WriteRunFile(GraphDocument& document,
                                                      const std::filesystem::path& path);

// The stem the Save command proposes, as Windows-1252 bytes, e.g.
// "CH2_Discharge_NiMh_261209_130507_"; or the error that ends the command.
struct RunFileName {
    std::string Name;
    std::string Error;  // non-empty: BatteryType of a damaged file is beyond the names

    [[nodiscard]] bool Ok() const noexcept { return Error.empty(); }
};

[[nodiscard]] RunFileName DefaultRunFileName(const GraphDocument& document,
                                             const BatteryTypeNames& names,
                                             const LocalClock& clock);

}  // namespace volt
