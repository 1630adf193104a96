#include "link/port_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace volt {
namespace {

TEST(PortList, ExtraPathsAreAppendedInOrderSkippingEmptyEntries) {
    struct Case {
        const char* text;
        std::vector<std::string> appended;
    };
    const Case cases[] = {
        {"", {}},
        {":", {}},
        {"/dev/pts/3", {"/dev/pts/3"}},
        {"/tmp/a:/tmp/b", {"/tmp/a", "/tmp/b"}},
        {"::/tmp/a::/tmp/b:", {"/tmp/a", "/tmp/b"}},
        {"/tmp/a:/tmp/a", {"/tmp/a", "/tmp/a"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> list = {"/dev/ttyS0"};
        AppendPortPaths(list, c.text);
        std::vector<std::string> expected = {"/dev/ttyS0"};
        expected.insert(expected.end(), c.appended.begin(), c.appended.end());
        EXPECT_EQ(list, expected) << c.text;
    }
}

}  // namespace
}  // namespace volt
