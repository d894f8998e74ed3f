#include "model/ChannelPlan.h"

namespace tarvo {

int FrequencyForChannel(int channel) {
    if (channel >= 1 && channel <= 13)
        return 2412 + 5 * (channel - 1);
    if (channel == 14)
        return 2484;
    if (channel >= 32 && channel <= 177)
        return 5000 + 5 * channel;
    return -1;
}

} // namespace tarvo
