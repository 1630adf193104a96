#pragma once
// Where the receive path delivers each complete frame.

#include <cstdint>
#include <span>

namespace volt {

class FrameSink {
  public:
    virtual ~FrameSink() = default;

    // frame runs from the '{' to the '}' inclusive. It points into the scanner's frame buffer,
    // which is reused by the next receive event, so the receiver copies what it keeps.
    virtual void DecodeFrame(std::span<const std::uint8_t> frame) = 0;
};

}  // namespace volt
