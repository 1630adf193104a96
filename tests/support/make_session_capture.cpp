// Writes the two-channel session capture: volt_make_capture OUTPUT-FILE.

#include <cstdio>
#include <fstream>

#include "support/session_capture.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: volt_make_capture OUTPUT-FILE\n");
        return 2;
    }
    const std::vector<std::uint8_t> bytes = volt::test::BuildTwoChannelSession();
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "volt_make_capture: cannot write '%s'\n", argv[1]);
        return 1;
    }
    return 0;
}
