#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <string>
#include <vector>

#include "common/byte_order.h"
#include "common/local_clock.h"
#include "files/run_file.h"
#include "files/run_file_magic.h"
#include "graph/graph_document.h"
#include "monitor/battery_type_names.h"
#include "support/temp_dir.h"

namespace volt {
namespace {

constexpr std::size_t kRecordBytes = kValueRecordBytes + kCellRecordBytes;

class FixedClock final : public LocalClock {
  public:
    explicit FixedClock(LocalDateTime moment) : moment_(moment) {}
    [[nodiscard]] LocalDateTime Now() const override { return moment_; }

  private:
    LocalDateTime moment_;
};

SampleValues Sample(int k) {
    SampleValues v;
    v.Voltage = 1100 + k;
    v.Current = -1500 - k;
    v.Capacity = 10 * k;
    v.Temperature = 20 + k;
    for (std::size_t c = 0; c < kCellCount; ++c) {
        v.Cells[c] = static_cast<std::int16_t>(400 + 10 * k + static_cast<int>(c));
    }
    return v;
}

// Appends as the recording does: the node, then the count.
void AppendSamples(GraphDocument& document, int count) {
    for (int k = 1; k <= count; ++k) {
        ASSERT_NE(AppendSampleNode(document, Sample(k)), nullptr);
        ++document.Header.SampleCount;
    }
}

std::vector<SampleValues> Samples(const GraphDocument& document) {
    std::vector<SampleValues> out;
    std::int32_t expectedTime = 1;
    ForEachSample(document, [&](const SampleRecord& s) {
        EXPECT_EQ(s.TimeIndex, expectedTime++);
        out.push_back({s.Voltage, s.Current, s.Capacity, s.Temperature, s.Cells});
    });
    return out;
}

bool SameValues(const SampleValues& a, const SampleValues& b) {
    return a.Voltage == b.Voltage && a.Current == b.Current && a.Capacity == b.Capacity &&
           a.Temperature == b.Temperature && a.Cells == b.Cells;
}

std::string AsText(std::span<const std::uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}

// A run file as another copy of the program might have left it: reserved and not-significant
// bytes that are not what a fresh window holds, a title with high bytes and junk behind its zero.
std::vector<std::uint8_t> UnusualRunFile(int samples) {
    CgmHeader h;
    for (std::size_t i = 0; i < h.FileMagic.size(); ++i) {
        h.FileMagic[i] = static_cast<std::uint8_t>(0xA0 + i);
    }
    h.FileMagic[0] = 15;
    std::copy(kRunFileMagic.begin(), kRunFileMagic.end(), h.FileMagic.begin() + 1);
    h.Mode = 1;
    h.BatteryType = 4;
    h.Channel = 1;
    h.Reserved67 = {1, 2, 3, INT32_MIN};
    h.CurrentVisible = 7;  // any non-zero value is on
    h.Reserved107 = {-5, 6, 7, 8};
    h.Reserved131 = 131;
    h.Reserved143 = 143;
    const std::string title = "R\xE9sum\xE9 \x81\xFF";
    std::fill(h.Title.begin(), h.Title.end(), '\x7F');
    std::copy(title.begin(), title.end(), h.Title.begin());
    h.Title[title.size()] = '\0';
    h.Reserved211 = 211;
    h.Reserved223 = -223;
    h.Reserved235 = 235;
    h.Reserved247 = 247;
    h.Reserved267 = 0xEE;
    h.SampleCount = samples;
    h.Reserved272 = {0xDE, 0xAD, 0xBE, 0xEF};
    h.Fahrenheit = 1;
    const CgmHeaderImage header = SerializeCgmHeader(h);
    std::vector<std::uint8_t> file(header.begin(), header.end());
    file.resize(kCgmHeaderBytes + kRecordBytes * static_cast<std::size_t>(samples));
    const std::span<std::uint8_t> out(file);
    for (int k = 0; k < samples; ++k) {
        const std::size_t v = kCgmHeaderBytes + kValueRecordBytes * static_cast<std::size_t>(k);
        WriteLe32(out, v, k == 0 ? INT32_MIN : 1000 + k);
        WriteLe32(out, v + 4, -k);
        WriteLe32(out, v + 8, INT32_MAX - k);
        WriteLe32(out, v + 12, 212 - k);
        const std::size_t c = kCgmHeaderBytes +
                              kValueRecordBytes * static_cast<std::size_t>(samples) +
                              kCellRecordBytes * static_cast<std::size_t>(k);
        for (std::size_t i = 0; i < kCellCount; ++i) {
            WriteLe16(out, c + 2 * i, static_cast<std::int16_t>(k % 2 ? -32768 : 300 + i));
        }
    }
    return file;
}

TEST(RunFile, EmptyWindowSavesAs277BytesAndOpensAgain) {
    test::TempDir dir;
    GraphDocument document;
    SetTitle(document, "Bench test");
    document.Header.CurrentVisible = kFlagOff;
    document.Header.CursorOn = kFlagOn;
    document.Header.VoltageMax = 1700;
    document.Modified = kFlagOn;
    ASSERT_EQ(WriteRunFile(document, dir.File("empty.CGM")), std::nullopt);
    EXPECT_EQ(document.Modified, kFlagOff);

    const auto bytes = test::ReadBytes(dir.File("empty.CGM"));
    ASSERT_EQ(bytes.size(), kCgmHeaderBytes);
    EXPECT_EQ(AsText(std::span(bytes).first(16)), "\x0FTARVEX_CGM_3_XP");

    const RunFileRead read = ReadRunFile(dir.File("empty.CGM"));
    EXPECT_EQ(read.Report.Status, RunFileReadStatus::Loaded);
    EXPECT_EQ(read.Report.Message(), std::nullopt);
    EXPECT_EQ(read.Document->Header, document.Header);
    EXPECT_EQ(TitleText(read.Document->Header), "Bench test");
    EXPECT_EQ(FirstSample(*read.Document), nullptr);
}

TEST(RunFile, ThreeSamplesLayOutHeaderValuesThenCells) {
    test::TempDir dir;
    GraphDocument document;
    AppendSamples(document, 3);
    document.Modified = kFlagOn;
    ASSERT_EQ(WriteRunFile(document, dir.File("three.CGM")), std::nullopt);
    EXPECT_EQ(document.Modified, kFlagOff);

    const auto bytes = test::ReadBytes(dir.File("three.CGM"));
    ASSERT_EQ(bytes.size(), kCgmHeaderBytes + 3 * kRecordBytes);
    const std::span<const std::uint8_t> in(bytes);
    EXPECT_EQ(ReadLe32(in, cgm_offset::kSampleCount), 3);
    for (int k = 0; k < 3; ++k) {
        const SampleValues expected = Sample(k + 1);
        const std::size_t v = 277 + 16 * static_cast<std::size_t>(k);
        EXPECT_EQ(ReadLe32(in, v), expected.Voltage) << k;
        EXPECT_EQ(ReadLe32(in, v + 4), expected.Current) << k;
        EXPECT_EQ(ReadLe32(in, v + 8), expected.Capacity) << k;
        EXPECT_EQ(ReadLe32(in, v + 12), expected.Temperature) << k;
        const std::size_t c = 277 + 48 + 24 * static_cast<std::size_t>(k);
        for (std::size_t i = 0; i < kCellCount; ++i) {
            EXPECT_EQ(ReadLe16(in, c + 2 * i), expected.Cells[i]) << k << " cell " << i;
        }
    }

    const RunFileRead read = ReadRunFile(dir.File("three.CGM"));
    EXPECT_EQ(read.Document->Header, document.Header);
    const auto loaded = Samples(*read.Document);
    ASSERT_EQ(loaded.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(SameValues(loaded[static_cast<std::size_t>(k)], Sample(k + 1))) << k;
    }
    EXPECT_EQ(read.Document->ListTail->TimeIndex, 3);
}

TEST(RunFile, OpeningAndSavingAgainIsByteIdentical) {
    test::TempDir dir;
    for (const int samples : {0, 5}) {
        const auto original = UnusualRunFile(samples);
        test::WriteFile(dir.File("in.CGM"), AsText(original));
        RunFileRead read = ReadRunFile(dir.File("in.CGM"));
        ASSERT_EQ(read.Report.Status, RunFileReadStatus::Loaded);
        EXPECT_FALSE(read.Report.SampleCountCorrected);
        EXPECT_FALSE(read.Report.ZeroFilled);
        EXPECT_EQ(read.Document->Header.Fahrenheit, 1);
        EXPECT_EQ(TitleText(read.Document->Header), "R\xE9sum\xE9 \x81\xFF");
        ASSERT_EQ(WriteRunFile(*read.Document, dir.File("out.CGM")), std::nullopt);
        EXPECT_EQ(test::ReadBytes(dir.File("out.CGM")), original) << samples << " samples";
    }
}

TEST(RunFile, FilesThatFailTheMagicTestAreNotLoaded) {
    test::TempDir dir;
    const auto good = UnusualRunFile(2);
    const std::string tail = AsText(std::span(good).subspan(16));
    const struct {
        const char* Name;
        std::string Bytes;
    } cases[] = {
        {"first byte 14", "\x0ETARVEX_CGM_3_XP" + tail},
        {"first byte 16", "\x10TARVEX_CGM_3_XP" + tail},
        {"one character differs", "\x0FTARVEX_CGM_3_XQ" + tail},
        {"lower case", "\x0Ftarvex_cgm_3_xp" + tail},
        {"cut inside the magic", "\x0FTARVEX_CGM"},
        {"empty", ""},
    };
    for (const auto& c : cases) {
        test::WriteFile(dir.File("bad.CGM"), c.Bytes);
        const RunFileRead read = ReadRunFile(dir.File("bad.CGM"));
        EXPECT_EQ(read.Report.Status, RunFileReadStatus::NotRunFile) << c.Name;
        EXPECT_EQ(read.Report.Message(), "File Error") << c.Name;
        EXPECT_EQ(read.Document->Header, CgmHeader{}) << c.Name;
        EXPECT_EQ(FirstSample(*read.Document), nullptr) << c.Name;
    }
    const RunFileRead missing = ReadRunFile(dir.File("none.CGM"));
    EXPECT_EQ(missing.Report.Status, RunFileReadStatus::Missing);
    EXPECT_EQ(missing.Report.Message(), std::nullopt);
    EXPECT_EQ(ReadRunFile(dir.Path()).Report.Status, RunFileReadStatus::NotRunFile);
}

TEST(RunFile, ShortFilesReadMissingRecordsAsZeros) {
    GraphDocument recorded;
    AppendSamples(recorded, 3);
    SetTitle(recorded, "Cut");
    recorded.Header.VoltageLimit = 0x12345678;
    const std::vector<std::uint8_t> full = BuildRunFileImage(recorded);
    const SampleValues zero{};
    const struct {
        const char* Name;
        std::size_t Length;
        std::int32_t Samples;
        std::vector<bool> ValuesPresent;
        std::vector<bool> CellsPresent;
    } cases[] = {
        {"whole", full.size(), 3, {true, true, true}, {true, true, true}},
        {"cut in the second cell record",
         277 + 48 + 24 + 10,
         3,
         {true, true, true},
         {true, false, false}},
        {"cut in the second value record",
         277 + 16 + 9,
         3,
         {true, false, false},
         {false, false, false}},
        {"header only", 277, 3, {false, false, false}, {false, false, false}},
    };
    for (const auto& c : cases) {
        const RunFileRead read = ReadRunFile(std::span(full).first(c.Length));
        ASSERT_EQ(read.Report.Status, RunFileReadStatus::Loaded) << c.Name;
        EXPECT_EQ(read.Report.SamplesLoaded, c.Samples) << c.Name;
        EXPECT_FALSE(read.Report.SampleCountCorrected) << c.Name;
        EXPECT_EQ(read.Report.ZeroFilled, c.Length != full.size()) << c.Name;
        const auto loaded = Samples(*read.Document);
        ASSERT_EQ(loaded.size(), 3u) << c.Name;
        for (std::size_t k = 0; k < 3; ++k) {
            const SampleValues expected = Sample(static_cast<int>(k) + 1);
            const SampleValues& got = loaded[k];
            EXPECT_EQ(got.Voltage, c.ValuesPresent[k] ? expected.Voltage : 0) << c.Name << k;
            EXPECT_EQ(got.Temperature, c.ValuesPresent[k] ? expected.Temperature : 0)
                << c.Name << k;
            EXPECT_EQ(got.Cells, c.CellsPresent[k] ? expected.Cells : zero.Cells) << c.Name << k;
        }
    }

    // Cut inside the header: the bytes present replace the defaults, the rest keep them.
    const RunFileRead cut = ReadRunFile(std::span(full).first(cgm_offset::kVoltageLimit + 2));
    ASSERT_EQ(cut.Report.Status, RunFileReadStatus::Loaded);
    const CgmHeader defaults;
    EXPECT_EQ(cut.Document->Header.VoltageLimit, 0x5678);  // two of its four bytes came
    EXPECT_EQ(TitleText(cut.Document->Header), "New Graph");
    EXPECT_EQ(cut.Document->Header.Reserved107, defaults.Reserved107);
    EXPECT_EQ(cut.Document->Header.SampleCount, 0);
    EXPECT_EQ(FirstSample(*cut.Document), nullptr);
}

TEST(RunFile, DamagedSampleCountIsBoundedAndCorrected) {
    GraphDocument recorded;
    AppendSamples(recorded, 3);
    const std::vector<std::uint8_t> full = BuildRunFileImage(recorded);
    const auto withCount = [&](std::int32_t count) {
        std::vector<std::uint8_t> bytes = full;
        WriteLe32(bytes, cgm_offset::kSampleCount, count);
        return bytes;
    };
    const struct {
        const char* Name;
        std::int32_t Declared;
        std::int32_t Loaded;
    } cases[] = {
        {"negative", -1, 0},
        {"most negative", INT32_MIN, 0},
        // The 120 record bytes hold 7 whole value records at the positions the count gives.
        {"a few more than the file holds", 10, 10},
        {"one full run beyond the file", 28807, 28807},
        {"beyond that", 28808, 28807},
        {"largest", INT32_MAX, 28807},
    };
    for (const auto& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        const RunFileRead read = ReadRunFile(withCount(c.Declared));
        const auto elapsed = std::chrono::steady_clock::now() - start;
        ASSERT_EQ(read.Report.Status, RunFileReadStatus::Loaded) << c.Name;
        EXPECT_EQ(read.Report.DeclaredSampleCount, c.Declared) << c.Name;
        EXPECT_EQ(read.Report.SamplesLoaded, c.Loaded) << c.Name;
        EXPECT_EQ(read.Report.SampleCountCorrected, c.Declared != c.Loaded) << c.Name;
        EXPECT_EQ(read.Document->Header.SampleCount, c.Loaded) << c.Name;
        EXPECT_EQ(read.Document->ListTail->TimeIndex, c.Loaded) << c.Name;
        EXPECT_LT(elapsed, std::chrono::seconds(2)) << c.Name;
        // Header and list agree, so the corrected window saves a consistent file.
        const auto image = BuildRunFileImage(*read.Document);
        EXPECT_EQ(image.size(), kCgmHeaderBytes + kRecordBytes * static_cast<std::size_t>(c.Loaded))
            << c.Name;
        EXPECT_FALSE(ReadRunFile(image).Report.SampleCountCorrected) << c.Name;
    }
}

TEST(RunFile, WriterNeverWritesMoreRecordsThanTheListHolds) {
    GraphDocument document;
    AppendSamples(document, 2);
    document.Header.SampleCount = 5;  // ahead of the list
    auto image = BuildRunFileImage(document);
    EXPECT_EQ(image.size(), kCgmHeaderBytes + 2 * kRecordBytes);
    EXPECT_EQ(ReadLe32(image, cgm_offset::kSampleCount), 2);
    document.Header.SampleCount = 1;  // behind the list: the first sample only
    image = BuildRunFileImage(document);
    EXPECT_EQ(image.size(), kCgmHeaderBytes + kRecordBytes);
    EXPECT_EQ(ReadLe32(image, kCgmHeaderBytes), Sample(1).Voltage);
    EXPECT_EQ(ReadLe16(image, kCgmHeaderBytes + kValueRecordBytes), Sample(1).Cells[0]);
}

TEST(RunFile, FailedWriteKeepsTheOldFileAndModified) {
    test::TempDir dir;
    test::WriteFile(dir.File("plain"), "not a folder");
    const std::string old = "the previous run";
    test::WriteFile(dir.File("old.CGM"), old);
    // The temporary file beside the target cannot be created where a folder of its name is.
    std::filesystem::create_directory(dir.File("old.CGM.tmp~"));
    std::filesystem::create_directory(dir.File("old.CGM.tmp~") / "keep");

    const std::filesystem::path targets[] = {dir.File("plain") / "run.CGM", dir.File("old.CGM")};
    for (const auto& target : targets) {
        GraphDocument document;
        AppendSamples(document, 2);
        document.Modified = kFlagOn;
        const auto error = WriteRunFile(document, target);
        ASSERT_TRUE(error.has_value()) << target;
        EXPECT_NE(error->find(target.string()), std::string::npos) << *error;
        EXPECT_EQ(document.Modified, kFlagOn) << target;
    }
    EXPECT_EQ(AsText(test::ReadBytes(dir.File("old.CGM"))), old);
    EXPECT_EQ(AsText(test::ReadBytes(dir.File("plain"))), "not a folder");
}

TEST(DefaultRunFileName, StemDateAndReplacedCharacters) {
    BatteryTypeNames names;
    names.Set(5, "Li-Po");
    names.Set(6, "a/b:c;d+e*f%g=h\\i j.k");
    const LocalDateTime jan{2026, 1, 2, 3, 4, 5};
    const LocalDateTime dec{2026, 12, 9, 13, 5, 7};
    const struct {
        std::uint8_t Channel;
        std::uint8_t Mode;
        std::uint8_t BatteryType;
        LocalDateTime Moment;
        const char* Expected;
    } cases[] = {
        {0, 2, 2, jan, "CH1_Charge_LiFe(A123)_260102_030405_"},
        {1, 1, 4, dec, "CH2_Discharge_NiMh_261209_130507_"},
        {0, 2, 5, jan, "CH1_Charge_Li_Po_260102_030405_"},
        {0, 0, 2, jan, "CH1_LiFe(A123)_260102_030405_"},
        {0, 3, 1, jan, "CH1_LiPo_260102_030405_"},
        {1, 255, 0, {1999, 7, 8, 0, 0, 59}, "CH2__990708_000059_"},
        {0, 1, 6, jan, "CH1_Discharge_a_b_c_d_e_f_g_h_i j.k_260102_030405_"},
    };
    for (const auto& c : cases) {
        GraphDocument document;
        document.Header.Channel = c.Channel;
        document.Header.Mode = c.Mode;
        document.Header.BatteryType = c.BatteryType;
        const RunFileName name = DefaultRunFileName(document, names, FixedClock(c.Moment));
        EXPECT_TRUE(name.Ok()) << c.Expected << ": " << name.Error;
        EXPECT_EQ(name.Name, c.Expected);
    }
}

TEST(DefaultRunFileName, BatteryTypeBeyondTheNamesFails) {
    for (const std::uint8_t type : {std::uint8_t{7}, std::uint8_t{255}}) {
        GraphDocument document;
        document.Header.BatteryType = type;
        const RunFileName name =
            DefaultRunFileName(document, BatteryTypeNames{}, FixedClock({2026, 1, 2, 3, 4, 5}));
        EXPECT_FALSE(name.Ok());
        EXPECT_EQ(name.Name, "");
        EXPECT_NE(name.Error.find("battery type " + std::to_string(type)), std::string::npos)
            << name.Error;
    }
}

}  // namespace
}  // namespace volt
