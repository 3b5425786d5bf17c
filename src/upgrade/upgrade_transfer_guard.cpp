#include "upgrade/upgrade_transfer_guard.h"

#include <utility>

#include "base/process_slot.h"

namespace fwup {

namespace {

ValueSlot<TransferGuardMaker>& InstalledMaker() {
    static ValueSlot<TransferGuardMaker> maker;
    return maker;
}

}  // namespace

TransferGuardMaker SetTransferGuardMaker(TransferGuardMaker maker) {
    return InstalledMaker().Exchange(std::move(maker));
}

std::unique_ptr<TransferGuard> HoldForTransfer(const StopCheck& stopped) {
    const TransferGuardMaker maker = InstalledMaker().Get();
    return maker ? maker(stopped) : nullptr;
}

}  // namespace fwup
