#pragma once

#include <cstdint>

namespace fwup {

// Tells a window that shows the attached printers that the set may have changed: a printer was
// plugged in or pulled. It asks nothing of any printer and opens no channel, since a printer
// shown at idle may be printing. Made by the interface source (InterfaceSource::WatchArrivals).
class ArrivalWatch {
  public:
    virtual ~ArrivalWatch() = default;
    // A count that grows with every arrival or departure seen since the watch was made; the
    // window lists the printers again when it has moved. Callable from any thread, often.
    virtual std::uint64_t Changes() = 0;
};

// How often a window whose source gives no watch lists the printers again on its own, so that a
// printer plugged in or pulled shows within two seconds all the same.
inline constexpr int kRelistWithoutWatchMs = 1500;

}  // namespace fwup
