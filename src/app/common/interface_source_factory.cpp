#include "app/common/interface_source_factory.h"

#include <charconv>

#include "base/clock.h"
#include "base/environment.h"
#include "device/simulated_printers.h"
#include "emulation/scenario_parser.h"
#include "emulation/sim_interface_source.h"

namespace fwup {
namespace {

// The scenario clock this program shares with the copies of itself it starts: the one its
// parent set, else now, handed on to its own children.
std::int64_t SharedScenarioEpoch() {
    const std::int64_t now = ActiveClock().MonotonicMs();
    std::int64_t epoch = now;
    if (const std::optional<std::filesystem::path> set = EnvironmentPath(kSimEpochVariable)) {
        const std::string text = set->string();
        std::int64_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error == std::errc() && end == text.data() + text.size() && value >= 0 &&
            value <= now) {
            epoch = value;
        }
    }
    SetEnvironmentValue(kSimEpochVariable, std::to_string(epoch));
    return epoch;
}

}  // namespace

std::unique_ptr<InterfaceSource> MakeInterfaceSource(
    std::optional<std::filesystem::path>& scenarioFile, std::string& error) {
    scenarioFile = EnvironmentPath(kEmulateVariable);
    if (!scenarioFile) {
        std::unique_ptr<InterfaceSource> host = MakeHostInterfaceSource();
        if (!host) {
            error = "USB access could not be started";
        }
        return host;
    }
    Scenario scenario;
    std::string parseError;
    if (!LoadScenarioFile(*scenarioFile, scenario, parseError)) {
        error = "VIRUZU_FWUP_EMULATE: " + parseError;
        return nullptr;
    }
    return std::make_unique<SimInterfaceSource>(std::move(scenario), SharedScenarioEpoch());
}

}  // namespace fwup
