#include "device/simulated_printers.h"

#include <mutex>

namespace fwup {
namespace {

std::mutex scenarioMutex;
std::optional<std::wstring> scenario;

}  // namespace

void SetSimulatedPrintersScenario(std::optional<std::wstring> scenarioFile) {
    const std::lock_guard<std::mutex> lock(scenarioMutex);
    scenario = std::move(scenarioFile);
}

std::optional<std::wstring> SimulatedPrintersScenario() {
    const std::lock_guard<std::mutex> lock(scenarioMutex);
    return scenario;
}

}  // namespace fwup
