#pragma once
// Both channels back to idle with every value 0: what a lost link and the RUN switch turning
// off do. Any run in progress ends.

namespace volt {

class ChannelSink;

// Input voltages first, then channel 0's status and cells, then channel 1's.
void ResetChannels(ChannelSink& channels);

}  // namespace volt
