#pragma once
// The IEEE 802.11 channel plan the surveys use.

namespace tarvo {

// Centre frequency in MHz of an IEEE 802.11 channel: 1..13, 14, 36..64 and
// 149..161 in steps of 4; any other channel gives -1.
int FrequencyForChannel(int channel);

} // namespace tarvo
