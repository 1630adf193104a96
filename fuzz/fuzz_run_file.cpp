// Arbitrary bytes behind the run-file magic: the reader must stay within its bound, a file
// whose size matches its count must save back byte for byte, the saved image must read back
// without correction, and the CSV export must either refuse the run or end with its two
// closing lines.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "files/csv_export.h"
#include "files/run_file.h"
#include "files/run_file_magic.h"
#include "files/run_identity.h"
#include "graph/graph_document.h"
#include "monitor/battery_type_names.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> file;
    file.push_back(static_cast<std::uint8_t>(volt::kRunFileMagic.size()));
    file.insert(file.end(), volt::kRunFileMagic.begin(), volt::kRunFileMagic.end());
    file.insert(file.end(), data, data + size);

    const volt::RunFileRead read = volt::ReadRunFile(std::span<const std::uint8_t>(file));
    Require(read.Report.Status == volt::RunFileReadStatus::Loaded);
    const std::int64_t loaded = read.Report.SamplesLoaded;
    const std::int64_t declared = read.Report.DeclaredSampleCount;
    const std::int64_t present =
        file.size() > volt::kCgmHeaderBytes
            ? static_cast<std::int64_t>((file.size() - volt::kCgmHeaderBytes) /
                                        volt::kValueRecordBytes)
            : 0;
    Require(loaded >= 0 && loaded <= std::max<std::int64_t>(declared, 0));
    Require(loaded <= present + volt::kMaxZeroFilledSamples);
    Require(read.Document->Header.SampleCount == loaded);

    const std::vector<std::uint8_t> image = volt::BuildRunFileImage(*read.Document);
    if (declared >= 0 && file.size() == volt::kCgmHeaderBytes + static_cast<std::size_t>(declared) *
                                                                    (volt::kValueRecordBytes +
                                                                     volt::kCellRecordBytes)) {
        Require(image == file);
    }
    const volt::RunFileRead again = volt::ReadRunFile(std::span<const std::uint8_t>(image));
    Require(!again.Report.SampleCountCorrected && !again.Report.ZeroFilled);
    Require(volt::BuildRunFileImage(*again.Document) == image);

    volt::ExportBuffer buffer;
    const auto error = volt::FillCsvExport(buffer, *read.Document, volt::BatteryTypeNames{},
                                           {2026, 1, 2, 3, 4, 5});
    Require(error.has_value() == (read.Document->Header.Mode > volt::kMaxMode ||
                                  read.Document->Header.BatteryType > volt::kMaxBatteryType));
    Require(error.has_value() || buffer.Text().ends_with("\r\n\r\n"));
    return 0;
}
