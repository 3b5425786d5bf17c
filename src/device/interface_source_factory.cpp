#include "device/interface_source_factory.h"

#include <optional>

#include "base/environment.h"
#include "printer/scenario_parser.h"
#include "device/sim/sim_interface_source.h"

namespace fwup {

std::unique_ptr<InterfaceSource> MakeInterfaceSource(bool& emulated, std::string& error) {
    const std::optional<std::filesystem::path> scenarioFile = EnvironmentPath(kEmulateVariable);
    emulated = scenarioFile.has_value();
    if (!emulated) {
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
    return std::make_unique<SimInterfaceSource>(std::move(scenario));
}

}  // namespace fwup
