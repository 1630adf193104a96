#include "files/run_file.h"

#include <algorithm>
#include <new>

#include "common/byte_order.h"
#include "common/file_replace.h"
#include "common/local_clock.h"
#include "files/run_file_magic.h"
#include "files/run_identity.h"
#include "graph/graph_document.h"
#include "monitor/battery_type_names.h"

namespace volt {
namespace {

// Value record: Voltage, Current, Capacity, Temperature.
constexpr std::size_t kVoltageAt = 0;
constexpr std::size_t kCurrentAt = 4;
constexpr std::size_t kCapacityAt = 8;
constexpr std::size_t kTemperatureAt = 12;
constexpr std::size_t kCellBytes = 2;

// Samples to write: the first SampleCount nodes of the list, never more than it holds.
std::size_t SamplesToWrite(const GraphDocument& document) noexcept {
    const std::int32_t declared = document.Header.SampleCount;
    std::size_t count = 0;
    for (const SampleRecord* node = FirstSample(document);
         node != nullptr && static_cast<std::int64_t>(count) < declared; node = NextSample(*node)) {
        ++count;
    }
    return count;
}

// The length byte and the 15 characters; the rest of FileMagic stays as it stands.
void StoreRunFileMagic(CgmHeader& header) noexcept {
    header.FileMagic[0] = static_cast<std::uint8_t>(kRunFileMagic.size());
    std::copy(kRunFileMagic.begin(), kRunFileMagic.end(), header.FileMagic.begin() + 1);
}

char ReplacedInFileName(char c) noexcept {
    switch (c) {
        case '/':
        case ':':
        case ';':
        case '+':
        case '-':
        case '*':
        case '%':
        case '=':
        case '\\':
            return '_';
        default:
            return c;
    }
}

}  // namespace

std::optional<std::string_view> RunFileReadReport::Message() const noexcept {
    switch (Status) {
        case RunFileReadStatus::NotRunFile:
            return kFileErrorText;
        case RunFileReadStatus::OutOfMemory:
            return kOutOfMemoryMessage;
        case RunFileReadStatus::Loaded:
        case RunFileReadStatus::Missing:
            break;
    }
    return std::nullopt;
}

RunFileReadReport LoadRunFile(GraphDocument& fresh, std::span<const std::uint8_t> bytes) noexcept {
    RunFileReadReport report;
    if (!IsRunFile(bytes)) {
        report.Status = RunFileReadStatus::NotRunFile;
        return report;
    }
    ApplyCgmHeaderBytes(fresh.Header, bytes);
    const std::int32_t declared = fresh.Header.SampleCount;
    report.DeclaredSampleCount = declared;

    // The records sit where the declared count puts them, whatever count is finally loaded.
    const auto size = static_cast<std::int64_t>(bytes.size());
    const auto header = static_cast<std::int64_t>(kCgmHeaderBytes);
    const std::int64_t wanted = std::max<std::int64_t>(declared, 0);
    const std::int64_t valuesPresent =
        std::min(wanted, std::max<std::int64_t>(size - header, 0) /
                             static_cast<std::int64_t>(kValueRecordBytes));
    const std::int64_t toLoad = std::min(wanted, valuesPresent + kMaxZeroFilledSamples);
    const std::int64_t cellBlock = header + wanted * static_cast<std::int64_t>(kValueRecordBytes);

    std::int64_t loaded = 0;
    for (; loaded < toLoad; ++loaded) {
        SampleValues values;
        const std::int64_t valueAt = header + loaded * static_cast<std::int64_t>(kValueRecordBytes);
        if (valueAt + static_cast<std::int64_t>(kValueRecordBytes) <= size) {
            const auto at = static_cast<std::size_t>(valueAt);
            values.Voltage = ReadLe32(bytes, at + kVoltageAt);
            values.Current = ReadLe32(bytes, at + kCurrentAt);
            values.Capacity = ReadLe32(bytes, at + kCapacityAt);
            values.Temperature = ReadLe32(bytes, at + kTemperatureAt);
        } else {
            report.ZeroFilled = true;
        }
        const std::int64_t cellAt =
            cellBlock + loaded * static_cast<std::int64_t>(kCellRecordBytes);
        if (cellAt + static_cast<std::int64_t>(kCellRecordBytes) <= size) {
            const auto at = static_cast<std::size_t>(cellAt);
            for (std::size_t c = 0; c < kCellCount; ++c) {
                values.Cells[c] = ReadLe16(bytes, at + kCellBytes * c);
            }
        } else {
            report.ZeroFilled = true;
        }
        if (AppendSampleNode(fresh, values) == nullptr) {
            report.Status = RunFileReadStatus::OutOfMemory;
            break;
        }
    }
    fresh.Header.SampleCount = static_cast<std::int32_t>(loaded);
    report.SamplesLoaded = fresh.Header.SampleCount;
    report.SampleCountCorrected = loaded != declared;
    fresh.Modified = kFlagOff;
    return report;
}

RunFileRead ReadRunFile(std::span<const std::uint8_t> bytes) {
    RunFileRead read{std::make_unique<GraphDocument>(), {}};
    read.Report = LoadRunFile(*read.Document, bytes);
    return read;
}

RunFileRead ReadRunFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        RunFileRead read{std::make_unique<GraphDocument>(), {}};
        read.Report.Status = RunFileReadStatus::Missing;
        return read;
    }
    // The magic is tested on the first bytes before a file of any size is read whole.
    const std::optional<std::string> contents =
        IsRunFile(path) ? ReadFileBytes(path) : std::nullopt;
    if (!contents) {
        // Exists but fails the magic test or cannot be read: "File Error".
        RunFileRead read{std::make_unique<GraphDocument>(), {}};
        read.Report.Status = RunFileReadStatus::NotRunFile;
        return read;
    }
    return ReadRunFile(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(contents->data()), contents->size()));
}

std::vector<std::uint8_t> BuildRunFileImage(const GraphDocument& document) {
    const std::size_t count = SamplesToWrite(document);
    std::vector<std::uint8_t> image(kCgmHeaderBytes +
                                    count * (kValueRecordBytes + kCellRecordBytes));
    const std::span<std::uint8_t> out(image);

    CgmHeader header = document.Header;
    StoreRunFileMagic(header);
    header.SampleCount = static_cast<std::int32_t>(count);
    const CgmHeaderImage headerImage = SerializeCgmHeader(header);
    std::copy(headerImage.begin(), headerImage.end(), image.begin());

    std::size_t at = kCgmHeaderBytes;
    std::size_t written = 0;
    for (const SampleRecord* node = FirstSample(document); node != nullptr && written < count;
         node = NextSample(*node), ++written, at += kValueRecordBytes) {
        WriteLe32(out, at + kVoltageAt, node->Voltage);
        WriteLe32(out, at + kCurrentAt, node->Current);
        WriteLe32(out, at + kCapacityAt, node->Capacity);
        WriteLe32(out, at + kTemperatureAt, node->Temperature);
    }
    written = 0;
    for (const SampleRecord* node = FirstSample(document); node != nullptr && written < count;
         node = NextSample(*node), ++written, at += kCellRecordBytes) {
        for (std::size_t c = 0; c < kCellCount; ++c) {
            WriteLe16(out, at + kCellBytes * c, node->Cells[c]);
        }
    }
    return image;
}

std::optional<std::string> WriteRunFile(GraphDocument& document,
                                        const std::filesystem::path& path) {
    StoreRunFileMagic(document.Header);

    std::vector<std::uint8_t> image;
    try {
        image = BuildRunFileImage(document);
    } catch (const std::bad_alloc&) {
        return std::string(kOutOfMemoryMessage);
    }
    std::optional<std::string> error = ReplaceFileContents(path, image);
    if (!error) {
        document.Modified = kFlagOff;
    }
    return error;
}

RunFileName DefaultRunFileName(const GraphDocument& document, const BatteryTypeNames& names,
                               const LocalClock& clock) {
    const CgmHeader& h = document.Header;
    RunFileName result;
    if (std::optional<std::string> error = BatteryTypeError(h)) {
        result.Error = std::move(*error);
        return result;
    }
    const std::string channel = std::to_string(int{h.Channel} + 1);
    const std::string battery(names[h.BatteryType]);
    std::string name = "CH" + channel;
    switch (h.Mode) {
        case 2:
            name += "_Charge_";
            break;
        case 1:
            name += "_Discharge_";
            break;
        default:
            name += '_';
            break;
    }
    name += battery;
    const LocalDateTime now = clock.Now();
    name += '_' + TwoDigitText(now.Year) + TwoDigitText(now.Month) + TwoDigitText(now.Day) + '_' +
            TwoDigitText(now.Hour) + TwoDigitText(now.Minute) + TwoDigitText(now.Second) + '_';
    std::transform(name.begin(), name.end(), name.begin(), ReplacedInFileName);
    result.Name = std::move(name);
    return result;
}

}  // namespace volt
