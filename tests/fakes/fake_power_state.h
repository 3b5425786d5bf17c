#pragma once

#include <functional>

#include "app/common/program_services.h"
#include "upgrade/power_state.h"

namespace fwup::testing {

// The computer's power state as the test sets it (unknown until then), installed while the object
// lives.
class FakePowerState final : public PowerStateSource {
  public:
    FakePowerState() = default;
    FakePowerState(const FakePowerState&) = delete;
    FakePowerState& operator=(const FakePowerState&) = delete;

    PowerState Read(const StopCheck& stopped) override {
        if (onRead) {
            onRead(stopped);
        }
        return state;
    }

    PowerState state;
    // Called as the state is read, with what the reader would stop waiting on.
    std::function<void(const StopCheck&)> onRead;

  private:
    const InstalledServices installed_{{.powerState = this}};
};

}  // namespace fwup::testing
