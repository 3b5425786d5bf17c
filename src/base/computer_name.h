#pragma once

#include <string>

namespace fwup {

// The name this computer goes by on its network (host name, NetBIOS name on Windows), as UTF-8;
// empty when the platform cannot say. Defined per platform.
std::string HostComputerName();

}  // namespace fwup
