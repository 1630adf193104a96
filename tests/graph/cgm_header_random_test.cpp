// Bounded randomised checks with a fixed seed, the same properties the fuzz target checks:
// any header bytes survive parse -> serialise, and INI text of any shape reads without harm.

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "files/ini_file.h"
#include "graph/cgm_header.h"

namespace volt {
namespace {

TEST(CgmHeaderRandom, AnyBytesRoundTrip) {
    std::mt19937 random(20260102);
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint8_t> bytes(random() % 320);
        for (auto& byte : bytes) {
            // Mostly 0x00 and 0xFF, where sign and flag mistakes show.
            const unsigned pick = random() % 4;
            byte = pick == 0 ? 0 : pick == 1 ? 0xFF : static_cast<std::uint8_t>(random());
        }
        CgmHeader header;
        const CgmHeaderImage fresh = SerializeCgmHeader(header);
        ApplyCgmHeaderBytes(header, bytes);
        const CgmHeaderImage image = SerializeCgmHeader(header);
        for (std::size_t i = 0; i < kCgmHeaderBytes; ++i) {
            ASSERT_EQ(image[i], i < bytes.size() ? bytes[i] : fresh[i])
                << "round " << round << " offset " << i;
        }
        ASSERT_EQ(ParseCgmHeader(image), header) << "round " << round;
    }
}

// A second, independent reading of the value forms, through std::from_chars.
std::optional<std::int32_t> ReferenceInteger(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with('$')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text[0] == '+' || text[0] == '-') {
        return std::nullopt;
    }
    std::uint64_t magnitude = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    const std::int64_t value =
        negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (magnitude > (std::uint64_t{1} << 32) || value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

TEST(IniRandom, ValuesAgreeWithAnIndependentReading) {
    std::mt19937 random(1000);
    const std::string alphabet = "0123456789abcdefABCDEFxX$+- ";
    for (int round = 0; round < 20000; ++round) {
        std::string text(random() % 14, ' ');
        for (char& c : text) {
            c = alphabet[random() % alphabet.size()];
        }
        ASSERT_EQ(ParseIniInteger(text), ReferenceInteger(text)) << '"' << text << '"';
    }
}

TEST(IniRandom, ShapelessTextReadsAndWrittenValuesComeBack) {
    std::mt19937 random(4321);
    const std::string alphabet = "[]=;\r\n \tVoltageMaxMin0x$-12";
    for (int round = 0; round < 2000; ++round) {
        std::string text(random() % 200, ' ');
        for (char& c : text) {
            c = alphabet[random() % alphabet.size()];
        }
        const IniFile ini = IniFile::Parse(text);
        const std::int32_t value = ini.ReadInteger("Voltage", "Max", 1000);
        const auto raw = ini.ReadString("Voltage", "Max");
        EXPECT_EQ(value, raw ? ParseIniInteger(*raw).value_or(1000) : 1000);
        IniWriter writer;
        writer.WriteInteger("Voltage", "Max", value);
        EXPECT_EQ(IniFile::Parse(writer.Text()).ReadInteger("Voltage", "Max", 0), value);
    }
}

}  // namespace
}  // namespace volt
