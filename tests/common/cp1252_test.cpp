#include <gtest/gtest.h>

#include "common/cp1252.h"

namespace volt {
namespace {

TEST(Cp1252, ConvertsBothWays) {
    struct Case {
        std::string cp1252;
        std::string utf8;
    };
    const Case cases[] = {
        {"LiPo 3S", "LiPo 3S"},
        {"\xB0"
         "C",
         "\xC2\xB0"
         "C"},                     // degree sign
        {"\x80", "\xE2\x82\xAC"},  // euro sign
        {"M\xFC"
         "ller",
         "M\xC3\xBC"
         "ller"},              // u umlaut
        {"\x81", "\xC2\x81"},  // undefined byte survives as U+0081
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Cp1252ToUtf8(c.cp1252), c.utf8);
        EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252);
    }
}

TEST(Cp1252, UnknownOrMalformedBecomesQuestionMark) {
    EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");  // a CJK character
    EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x94\x8B"
                           "x"),
              "?x");                         // an emoji
    EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");  // cut sequence
    EXPECT_EQ(Utf8ToCp1252("\xFF"
                           "b"),
              "?b");  // not a lead byte
}

TEST(Cp1252, EveryByteRoundTrips) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

}  // namespace
}  // namespace volt
