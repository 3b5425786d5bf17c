#include "app/common/interface_source_factory.h"

#include "app/common/program_services.h"
#include "app/common/program_wiring.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "device/discovery.h"
#include "device/simulated_printers.h"
#include "fakes/recording_notice_output.h"
#include "upgrade/print_queues.h"

namespace fwup {
namespace {

// Sets VIRUZU_FWUP_EMULATE for one test and removes it afterwards.
class ScopedEmulation {
  public:
    explicit ScopedEmulation(const std::string& value) { Set(value); }
    ~ScopedEmulation() { Set(""); }
    ScopedEmulation(const ScopedEmulation&) = delete;
    ScopedEmulation& operator=(const ScopedEmulation&) = delete;

  private:
    static void Set(const std::string& value) {
#ifdef _WIN32
        _putenv_s("VIRUZU_FWUP_EMULATE", value.c_str());
#else
        if (value.empty()) {
            unsetenv("VIRUZU_FWUP_EMULATE");
        } else {
            setenv("VIRUZU_FWUP_EMULATE", value.c_str(), 1);
        }
#endif
    }
};

TEST(InterfaceSourceFactory, ScenarioNamedInTheEnvironmentBringsItsPrinters) {
    testing::RecordingNoticeOutput notices;
    ScopedEmulation emulation(std::string(FWUP_SCENARIO_DIR) + "/two-printers.json");
    std::optional<std::filesystem::path> scenarioFile;
    std::string error;
    std::unique_ptr<InterfaceSource> source = MakeInterfaceSource(scenarioFile, error);
    ASSERT_NE(source, nullptr) << error;
    EXPECT_EQ(scenarioFile, std::filesystem::path(FWUP_SCENARIO_DIR "/two-printers.json"));

    const InstalledServices installed({.interfaces = source.get()});
    DeviceList list;
    EXPECT_EQ(GetSystemDeviceList(list), kDiscoveryOk);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].ModelName, L"Viruzu TQ3800HKR Series");
    EXPECT_EQ(list[0].PortName, L"USB001");
    EXPECT_EQ(list[1].ModelName, L"Viruzu TQ3800HKS Series");
    EXPECT_EQ(list[1].PortName, L"USB002");
}

TEST(InterfaceSourceFactory, UnreadableScenarioIsAnErrorNotAFallBackToRealPrinters) {
    ScopedEmulation emulation(std::string(FWUP_SCENARIO_DIR) + "/no-such-scenario.json");
    std::optional<std::filesystem::path> scenarioFile;
    std::string error;
    EXPECT_EQ(MakeInterfaceSource(scenarioFile, error), nullptr);
    EXPECT_TRUE(scenarioFile.has_value());
    EXPECT_NE(error.find("VIRUZU_FWUP_EMULATE"), std::string::npos);
    EXPECT_NE(error.find("no-such-scenario.json"), std::string::npos);
}

// The wiring every program starts from: the scenario's printers and queues, and its name for the
// title and the log, all present while installed and gone afterwards.
TEST(ProgramWiring, ScenarioBringsItsPrintersQueuesAndNameWhileInstalled) {
    ScopedEmulation emulation(std::string(FWUP_SCENARIO_DIR) + "/port-busy.json");
    const ProgramWiring wiring = WireProgram({});
    ASSERT_NE(wiring.interfaceSource, nullptr) << wiring.error;
    ASSERT_TRUE(wiring.services.simulatedScenario.has_value());
    EXPECT_EQ(std::filesystem::path(*wiring.services.simulatedScenario), *wiring.scenarioFile);
    EXPECT_TRUE(wiring.services.transferGuard);
    EXPECT_TRUE(wiring.services.printerLocks);
    {
        const InstalledServices installed(wiring.services);
        EXPECT_EQ(&ActiveInterfaceSource(), wiring.interfaceSource.get());
        EXPECT_EQ(SimulatedPrintersScenario(), wiring.services.simulatedScenario);
        EXPECT_TRUE(IsPortOccupied(L"USB001")) << "the scenario's queue holds two jobs";
    }
    EXPECT_NE(&ActiveInterfaceSource(), wiring.interfaceSource.get());
    EXPECT_EQ(SimulatedPrintersScenario(), std::nullopt);
    EXPECT_FALSE(IsPortOccupied(L"USB001"));
}

// A broken scenario leaves the program without printers, never with real ones in their place,
// and without a simulated name to show; the rest is wired all the same.
TEST(ProgramWiring, BrokenScenarioWiresNoPrintersAndNoScenarioName) {
    testing::RecordingNoticeOutput notices;
    ScopedEmulation emulation(std::string(FWUP_SCENARIO_DIR) + "/no-such-scenario.json");
    const ProgramWiring wiring = WireProgram({});
    EXPECT_EQ(wiring.interfaceSource, nullptr);
    EXPECT_EQ(wiring.services.interfaces, nullptr);
    EXPECT_NE(wiring.error.find("no-such-scenario.json"), std::string::npos);
    EXPECT_EQ(wiring.services.simulatedScenario, std::nullopt);
    EXPECT_NE(wiring.services.printQueues, nullptr);
    EXPECT_NE(wiring.services.powerState, nullptr);
}

}  // namespace
}  // namespace fwup
