#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "files/ini_file.h"

namespace volt {
namespace {

TEST(ParseIniInteger, ValueForms) {
    const struct {
        const char* Text;
        std::optional<std::int32_t> Value;
    } cases[] = {
        {"1000", 1000},
        {"-600", -600},
        {"+42", 42},
        {"007", 7},
        {"0x3E8", 1000},
        {"0X3e8", 1000},
        {"$3E8", 1000},
        {"-$10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"0x7FFFFFFF", 2147483647},
        {"-0x80000000", INT32_MIN},
        {"2147483648", std::nullopt},  // out of the 32-bit range
        {"0x80000000", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"0x", std::nullopt},
        {"$", std::nullopt},
        {"abc", std::nullopt},
        {"12abc", std::nullopt},  // trailing garbage
        {"12 ; top", std::nullopt},
        {"1 000", std::nullopt},
        {"0x1G", std::nullopt},
        {"--5", std::nullopt},
        {"1e3", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseIniInteger(c.Text), c.Value) << '"' << c.Text << '"';
    }
}

TEST(IniFile, SectionsKeysAndLineForms) {
    const IniFile ini = IniFile::Parse(
        "\xEF\xBB\xBF[Voltage]\r\n"
        "Max = 1200 \r\n"
        "; Min=1\r\n"
        "max=5\r\n"  // a repeated key: the first one counts
        "Empty=\r\n"
        "noequals\r\n"
        "[ current ]\n"
        "MIN=\t-7\n"
        "[Voltage]\n"
        "Min=300\n"  // a repeated section still adds keys not seen before
        "Max=9\n"
        "[broken\n"
        "Late=1\n");
    EXPECT_EQ(ini.ReadInteger("voltage", "MAX", -1), 1200);
    EXPECT_EQ(ini.ReadInteger("Voltage", "Min", -1), 300);
    EXPECT_EQ(ini.ReadInteger("Voltage", "Empty", 77), 77);
    EXPECT_EQ(ini.ReadString("Voltage", "Empty"), "");
    EXPECT_EQ(ini.ReadInteger("Current", "Min", 0), -7);
    EXPECT_EQ(ini.ReadInteger("Capacity", "Max", 100), 100);
    // "[broken" opens no section: its key stays under the section before it.
    EXPECT_EQ(ini.ReadInteger("Voltage", "Late", 0), 1);
    EXPECT_FALSE(ini.ReadString("Voltage", "noequals").has_value());
}

TEST(IniFile, KeysBeforeAnySectionAreIgnored) {
    const IniFile ini = IniFile::Parse("Max=1\n[]\nMax=2\n");
    EXPECT_EQ(ini.ReadInteger("", "Max", 0), 2);
}

TEST(IniWriter, WritesInFirstWrittenOrderAndReadsBack) {
    IniWriter writer;
    writer.WriteInteger("Voltage", "Max", 1000);
    writer.WriteInteger("Current", "Max", -5);
    writer.WriteInteger("voltage", "Min", 600);
    writer.WriteInteger("Voltage", "max", 1100);  // replaces, keeps its place
    writer.WriteString("Text", "Name", "a=b");
    const std::string text = writer.Text();
    EXPECT_EQ(text, "[Voltage]\nMax=1100\nMin=600\n\n[Current]\nMax=-5\n\n[Text]\nName=a=b\n");
    const IniFile ini = IniFile::Parse(text);
    EXPECT_EQ(ini.ReadInteger("Voltage", "Max", 0), 1100);
    EXPECT_EQ(ini.ReadInteger("Current", "Max", 0), -5);
    EXPECT_EQ(ini.ReadString("Text", "Name"), "a=b");
}

}  // namespace
}  // namespace volt
