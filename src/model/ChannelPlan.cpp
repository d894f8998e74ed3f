#include "model/ChannelPlan.h"

namespace tarvo {

int FrequencyForChannel(int channel) {
    if (channel >= 1 && channel <= 13)
        return 2412 + 5 * (channel - 1);
    if (channel == 14)
        return 2484;
    const bool lowBand = channel >= 36 && channel <= 64 && channel % 4 == 0;
    const bool highBand = channel >= 149 && channel <= 161 && (channel - 149) % 4 == 0;
    if (lowBand || highBand)
        return 5000 + 5 * channel;
    return -1;
}

} // namespace tarvo
