#include "upgrade/upgrade_transfer_guard.h"

#include <utility>

namespace fwup {

namespace {

TransferGuardMaker& ActiveMaker() {
    static TransferGuardMaker maker;
    return maker;
}

}  // namespace

void SetTransferGuardMaker(TransferGuardMaker maker) {
    ActiveMaker() = std::move(maker);
}

std::unique_ptr<TransferGuard> HoldForTransfer() {
    const TransferGuardMaker& maker = ActiveMaker();
    return maker ? maker() : nullptr;
}

}  // namespace fwup
