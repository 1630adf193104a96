#include "monitor/channel_reset.h"

#include "monitor/channel_sink.h"

namespace volt {

void ResetChannels(ChannelSink& channels) {
    channels.SetInputVoltages(0, 0);
    for (int channel = 0; channel < 2; ++channel) {
        channels.UpdateChannelStatus(channel, 0, 0, 0, 0, 0, 0);
        channels.UpdateChannelCells(channel, CellVoltages{});
    }
}

}  // namespace volt
