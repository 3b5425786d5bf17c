#include "app/common/interface_source_factory.h"

#include "base/environment.h"
#include "device/simulated_printers.h"
#include "emulation/scenario_parser.h"
#include "emulation/sim_interface_source.h"

namespace fwup {

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
    return std::make_unique<SimInterfaceSource>(std::move(scenario));
}

}  // namespace fwup
