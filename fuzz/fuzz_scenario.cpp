// Feeds any text as a scenario file to ParseScenario. A refusal must name what is wrong.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "emulation/scenario.h"
#include "emulation/scenario_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view json(reinterpret_cast<const char*>(data), size);
    fwup::Scenario scenario;
    std::string error;
    if (!fwup::ParseScenario(json, scenario, error) && error.empty()) {
        std::abort();
    }
    return 0;
}
