// libFuzzer target: arbitrary bytes through the frame scanner and the decoder.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "frame_stream_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const volt::fuzz::StreamResult result = volt::fuzz::RunFrameStream({data, size});
    if (!result.failure.empty()) {
        std::fprintf(stderr, "broken rule: %s\n", result.failure.c_str());
        std::abort();
    }
    return 0;
}
