#pragma once
// The wireless interfaces of this machine, for the choice of the adapter a
// walk is recorded with: the network interfaces that the kernel lists with
// a "wireless" (or "phy80211") entry under /sys/class/net, or, when it
// lists none, the interfaces that `iw dev` prints.

#include "record/IwScanSource.h"

#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

// Interface names in natural order (wlan0 before wlan1, wlp2s0 ...).
// sysRoot and iwProgram are for tests; `iw dev` (iw found as FindIw finds
// it) runs only when sysRoot gives no wireless interface, and gives nothing
// when iw is missing or fails.
std::vector<std::string>
ListWirelessInterfaces(const std::string& sysRoot = "/sys/class/net",
                       const std::string& iwProgram = "iw",
                       const std::vector<std::string>& iwFallbacks = IwFallbackPaths());

// The names of the "Interface NAME" lines of `iw dev` output.
std::vector<std::string> ParseIwDevInterfaces(std::string_view text);

} // namespace tarvo
