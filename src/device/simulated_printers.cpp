#include "device/simulated_printers.h"

#include <utility>

#include "base/process_slot.h"

namespace fwup {
namespace {

ValueSlot<std::optional<std::wstring>>& InstalledScenario() {
    static ValueSlot<std::optional<std::wstring>> scenario;
    return scenario;
}

}  // namespace

std::optional<std::wstring> SetSimulatedPrintersScenario(std::optional<std::wstring> scenarioFile) {
    return InstalledScenario().Exchange(std::move(scenarioFile));
}

std::optional<std::wstring> SimulatedPrintersScenario() {
    return InstalledScenario().Get();
}

}  // namespace fwup
