#pragma once
// The IEEE 802.11 channel plan the surveys use.

namespace tarvo {

// Centre frequency in MHz of an IEEE 802.11 channel: 1..13 (2412 + 5 (n - 1)),
// 14 (2484), and every 5 GHz channel number 32..177 (5000 + 5 n: the UNII
// bands with the DFS channels 52..144, and 149..177); any other channel
// gives -1.
int FrequencyForChannel(int channel);

} // namespace tarvo
