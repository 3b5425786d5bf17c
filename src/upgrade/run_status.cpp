#include "upgrade/run_status.h"

namespace fwup {

std::atomic<bool> bUpgrading{false};

}  // namespace fwup
