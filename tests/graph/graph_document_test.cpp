#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "common/byte_order.h"
#include "graph/cgm_header.h"
#include "graph/graph_document.h"

namespace volt {
namespace {

namespace off = cgm_offset;

SampleValues ValuesFor(std::int32_t i) {
    SampleValues v;
    v.Voltage = 1000 + i;
    v.Current = -i;
    v.Capacity = 3 * i;
    v.Temperature = i % 100;
    for (std::size_t c = 0; c < kCellCount; ++c) {
        v.Cells[c] = static_cast<std::int16_t>(i + static_cast<std::int32_t>(c));
    }
    return v;
}

void AppendSamples(GraphDocument& document, std::int32_t count) {
    for (std::int32_t i = 1; i <= count; ++i) {
        ASSERT_NE(AppendSampleNode(document, ValuesFor(i)), nullptr);
        ++document.Header.SampleCount;
    }
}

TEST(GraphDocument, NewDocumentHasItsStartValues) {
    GraphDocument doc;
    EXPECT_EQ(doc.CrossX, -1);
    EXPECT_EQ(doc.CrossY, -1);
    EXPECT_EQ(doc.CellBarType, 255);
    EXPECT_EQ(doc.CapacityTrack.load(), -99998);
    EXPECT_EQ(doc.TemperatureTrack.load(), -99998);
    for (const auto& live : doc.SeriesLive) {
        EXPECT_EQ(live.load(), -1);
    }
    ASSERT_NE(doc.ListHead, nullptr);
    EXPECT_EQ(doc.ListHead->TimeIndex, 0);
    EXPECT_EQ(doc.ListHead->Prev, nullptr);
    EXPECT_EQ(FirstSample(doc), nullptr);
    EXPECT_EQ(doc.ListTail, doc.ListHead);
    EXPECT_EQ(doc.CurrentSample, doc.ListHead);
    EXPECT_EQ(doc.ExportCursor, doc.ListHead);
    EXPECT_EQ(TitleText(doc.Header), "New Graph");
}

// The whole image of a new document, byte for byte.
TEST(CgmHeader, NewDocumentImage) {
    CgmHeaderImage expected{};
    for (std::size_t i = 67; i < 83; ++i) {
        expected[i] = 0xFF;
    }
    for (const std::size_t flag : {83, 87, 91, 95}) {
        WriteLe32(expected, flag, -1);
    }
    const std::string title = "New Graph";
    std::copy(title.begin(), title.end(), expected.begin() + 147);
    for (const std::size_t max : {215, 227, 239, 251}) {
        WriteLe32(expected, max, 10);
    }
    EXPECT_EQ(SerializeCgmHeader(GraphDocument{}.Header), expected);
}

// Every field set to a value of its own lands at its offset, little-endian.
TEST(CgmHeader, FieldsAtTheirOffsets) {
    CgmHeader h;
    h.FileMagic[0] = 15;
    h.FileMagic[63] = 0xAB;
    h.Mode = 2;
    h.BatteryType = 6;
    h.Channel = 1;
    h.Reserved67 = {0x01020304, 0x05060708, 0x090A0B0C, 0x0D0E0F10};
    h.VoltageVisible = 0x11;
    h.CurrentVisible = 0x12;
    h.CapacityVisible = 0x13;
    h.TemperatureVisible = 0x14;
    h.VoltageLimitShown = 0x15;
    h.VoltageLimit = 0x16;
    h.Reserved107 = {0x17, 0x18, 0x19, 0x1A};
    h.CapacityLimitShown = 0x1B;
    h.CapacityLimit = 0x1C;
    h.Reserved131 = 0x1D;
    h.TemperatureLimitShown = 0x1E;
    h.TemperatureLimit = 0x1F;
    h.Reserved143 = 0x20;
    h.Title[63] = 'Z';
    h.Reserved211 = 0x21;
    h.VoltageMax = 0x22;
    h.VoltageMin = -2;
    h.Reserved223 = 0x23;
    h.CurrentMax = 0x24;
    h.CurrentMin = 0x25;
    h.Reserved235 = 0x26;
    h.CapacityMax = 0x27;
    h.CapacityMin = 0x28;
    h.Reserved247 = 0x29;
    h.TemperatureMax = 0x2A;
    h.TemperatureMin = 0x2B;
    h.CursorOn = 0x2C;
    h.Smoothing = 0x2D;
    h.Reserved267 = 0x2E;
    h.SampleCount = 0x12345678;
    h.Reserved272 = {0x30, 0x31, 0x32, 0x33};
    h.Fahrenheit = 1;
    const CgmHeaderImage image = SerializeCgmHeader(h);

    const struct {
        std::size_t Offset;
        std::int32_t Value;
    } words[] = {
        {67, 0x01020304}, {71, 0x05060708}, {75, 0x090A0B0C}, {79, 0x0D0E0F10}, {83, 0x11},
        {87, 0x12},       {91, 0x13},       {95, 0x14},       {99, 0x15},       {103, 0x16},
        {107, 0x17},      {111, 0x18},      {115, 0x19},      {119, 0x1A},      {123, 0x1B},
        {127, 0x1C},      {131, 0x1D},      {135, 0x1E},      {139, 0x1F},      {143, 0x20},
        {211, 0x21},      {215, 0x22},      {219, -2},        {223, 0x23},      {227, 0x24},
        {231, 0x25},      {235, 0x26},      {239, 0x27},      {243, 0x28},      {247, 0x29},
        {251, 0x2A},      {255, 0x2B},      {259, 0x2C},      {263, 0x2D},      {268, 0x12345678},
    };
    for (const auto& w : words) {
        EXPECT_EQ(ReadLe32(image, w.Offset), w.Value) << "offset " << w.Offset;
    }
    EXPECT_EQ(image[off::kReserved67], 0x04);  // little-endian: low byte first
    EXPECT_EQ(image[0], 15);
    EXPECT_EQ(image[63], 0xAB);
    EXPECT_EQ(image[64], 2);
    EXPECT_EQ(image[65], 6);
    EXPECT_EQ(image[66], 1);
    EXPECT_EQ(image[147], 'N');
    EXPECT_EQ(image[210], 'Z');
    EXPECT_EQ(image[267], 0x2E);
    EXPECT_EQ((std::vector<std::uint8_t>(image.begin() + 272, image.begin() + 276)),
              (std::vector<std::uint8_t>{0x30, 0x31, 0x32, 0x33}));
    EXPECT_EQ(image[276], 1);
    EXPECT_EQ(ParseCgmHeader(image), h);
}

TEST(CgmHeader, AnyImageRoundTripsByteForByte) {
    std::mt19937 random(277);
    for (int round = 0; round < 50; ++round) {
        CgmHeaderImage image{};
        for (auto& byte : image) {
            byte = static_cast<std::uint8_t>(random());
        }
        GraphDocument doc;
        ApplyCgmHeaderBytes(doc.Header, image);
        EXPECT_EQ(SerializeCgmHeader(doc.Header), image);
    }
}

TEST(CgmHeader, ShortBytesReplaceOnlyTheStart) {
    CgmHeaderImage source{};
    source.fill(0x7F);
    GraphDocument doc;
    const CgmHeaderImage fresh = SerializeCgmHeader(doc.Header);
    ApplyCgmHeaderBytes(doc.Header, std::span(source).first(100));  // into VoltageLimit
    const CgmHeaderImage image = SerializeCgmHeader(doc.Header);
    for (std::size_t i = 0; i < kCgmHeaderBytes; ++i) {
        ASSERT_EQ(image[i], i < 100 ? 0x7F : fresh[i]) << "offset " << i;
    }
}

TEST(CgmHeader, TextsAreBounded) {
    CgmHeader h;
    h.FileMagic.fill('M');
    h.FileMagic[0] = 200;  // a damaged length byte
    EXPECT_EQ(FileMagicText(h).size(), 63u);
    h.FileMagic[0] = 3;
    EXPECT_EQ(FileMagicText(h), "MMM");
    h.Title.fill('T');  // no zero byte at all
    EXPECT_EQ(TitleText(h), std::string(64, 'T'));
}

TEST(GraphDocument, AppendLinksNodesBehindTheTail) {
    GraphDocument doc;
    AppendSamples(doc, 3);
    EXPECT_EQ(doc.Header.SampleCount, 3);
    EXPECT_EQ(doc.ListTail->TimeIndex, 3);
    std::int32_t expected = 1;
    const SampleRecord* previous = doc.ListHead;
    ForEachSample(doc, [&](const SampleRecord& node) {
        EXPECT_EQ(node.TimeIndex, expected);
        EXPECT_EQ(node.Prev, previous);
        EXPECT_EQ(node.Voltage, ValuesFor(expected).Voltage);
        EXPECT_EQ(node.Cells, ValuesFor(expected).Cells);
        previous = &node;
        ++expected;
    });
    EXPECT_EQ(expected, 4);
    EXPECT_EQ(previous, doc.ListTail);
}

TEST(GraphDocument, NavigateTo) {
    GraphDocument empty;
    EXPECT_TRUE(NavigateTo(empty, 0));
    EXPECT_FALSE(NavigateTo(empty, 1));
    EXPECT_EQ(empty.CurrentSample, empty.ListHead);

    GraphDocument doc;
    AppendSamples(doc, 10);
    const struct {
        std::int32_t Target;
        bool Found;
        std::int32_t LandsOn;
    } cases[] = {
        {4, true, 4},   {5, true, 5}, {15, false, 10}, {10, true, 10},
        {-3, false, 0}, {0, true, 0}, {1, true, 1},    {9, true, 9},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NavigateTo(doc, c.Target), c.Found) << c.Target;
        EXPECT_EQ(doc.CurrentSample->TimeIndex, c.LandsOn) << c.Target;
    }
    // t then t + 1 moves exactly one node.
    ASSERT_TRUE(NavigateTo(doc, 6));
    const SampleRecord* at6 = doc.CurrentSample;
    ASSERT_TRUE(NavigateTo(doc, 7));
    EXPECT_EQ(doc.CurrentSample, NextSample(*at6));
}

TEST(GraphDocument, TitleKeeps63Characters) {
    GraphDocument doc;
    const std::string title63(63, 'a');
    SetTitle(doc, title63);
    EXPECT_EQ(TitleText(doc.Header), title63);
    SetTitle(doc, title63 + "bc");
    EXPECT_EQ(TitleText(doc.Header), title63);
    SetTitle(doc, "Short");
    EXPECT_EQ(TitleText(doc.Header), "Short");
    EXPECT_EQ(doc.Header.Title[10], '\0');  // nothing of the long title is left behind

    // UTF-8 at the edge: one byte per character inside, '?' for what Windows-1252 lacks.
    SetTitleUtf8(doc,
                 "5\xC2\xB0"
                 "C \xE2\x82\xAC \xE2\x86\x92");  // 5°C € →
    EXPECT_EQ(TitleText(doc.Header),
              "5\xB0"
              "C \x80 ?");
    EXPECT_EQ(TitleUtf8(doc),
              "5\xC2\xB0"
              "C \xE2\x82\xAC ?");
    SetTitleUtf8(doc, std::string(62, 'x') + "\xC3\xA9\xC3\xA9");  // 62 + "éé": the last é is cut
    EXPECT_EQ(TitleText(doc.Header), std::string(62, 'x') + "\xE9");
}

// A loaded file may hold far more samples than a recording; freeing must not recurse.
TEST(GraphDocument, FreesALongListWithoutRecursion) {
    constexpr std::int32_t kSamples = 300000;
    auto doc = std::make_unique<GraphDocument>();
    AppendSamples(*doc, kSamples);
    EXPECT_EQ(doc->ListTail->TimeIndex, kSamples);
    doc.reset();  // under the address sanitizer: no leak, no double free
}

// The GUI thread appends while a refill thread walks from the head: the walker sees only
// complete nodes, in order, and never a torn one.
TEST(GraphDocument, WalkerSeesCompleteNodesWhileAppending) {
    constexpr std::int32_t kSamples = 20000;
    GraphDocument doc;
    std::atomic<bool> failed{false};
    std::thread walker([&] {
        std::int32_t seen = 0;
        while (seen < kSamples) {
            std::int32_t expected = 1;
            ForEachSample(doc, [&](const SampleRecord& node) {
                const SampleValues v = ValuesFor(expected);
                if (node.TimeIndex != expected || node.Voltage != v.Voltage ||
                    node.Capacity != v.Capacity || node.Cells != v.Cells ||
                    node.Prev->TimeIndex != expected - 1) {
                    failed = true;
                }
                ++expected;
            });
            seen = expected - 1;
            doc.CapacityTrack.store(seen, std::memory_order_relaxed);
        }
    });
    for (std::int32_t i = 1; i <= kSamples; ++i) {
        ASSERT_NE(AppendSampleNode(doc, ValuesFor(i)), nullptr);
        doc.CapacityTrack.store(-i, std::memory_order_relaxed);
    }
    walker.join();
    EXPECT_FALSE(failed.load());
}

}  // namespace
}  // namespace volt
