// Arbitrary bytes as a run-file header and as INI text. A header image must survive
// parse -> serialise unchanged, and the INI reader must accept anything without crashing and
// agree with its own writer.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "files/ini_file.h"
#include "files/run_file_magic.h"
#include "graph/cgm_header.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckHeader(std::span<const std::uint8_t> bytes) {
    volt::CgmHeader header;
    volt::ApplyCgmHeaderBytes(header, bytes);
    const volt::CgmHeaderImage first = volt::SerializeCgmHeader(header);
    const std::size_t kept = std::min(bytes.size(), volt::kCgmHeaderBytes);
    Require(std::equal(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(kept),
                       first.begin()));
    const volt::CgmHeader again = volt::ParseCgmHeader(first);
    Require(again == header);
    Require(volt::SerializeCgmHeader(again) == first);
    Require(volt::FileMagicText(header).size() <= 63);
    Require(volt::TitleText(header).size() <= 64);
    (void)volt::IsRunFile(bytes);
}

void CheckIni(std::string_view text) {
    const volt::IniFile ini = volt::IniFile::Parse(text);
    (void)ini.ReadInteger("Voltage", "Max", 1000);
    (void)ini.ReadString("Current", "Min");
    // The whole text as one value: whatever parses must print and parse back to itself.
    if (const auto value = volt::ParseIniInteger(text)) {
        Require(volt::ParseIniInteger(std::to_string(*value)) == value);
    }
    // A value read from the text, written out and read again, is the same.
    if (const auto value = ini.ReadString("Voltage", "Max")) {
        volt::IniWriter writer;
        writer.WriteString("Voltage", "Max", *value);
        const volt::IniFile back = volt::IniFile::Parse(writer.Text());
        Require(back.ReadString("Voltage", "Max") == value);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    CheckHeader(bytes);
    CheckIni(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
