#include "device/interface_source_factory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "device/discovery.h"
#include "fakes/recording_notice_output.h"

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

    SetActiveInterfaceSource(source.get());
    DeviceList list;
    EXPECT_EQ(GetSystemDeviceList(list), kDiscoveryOk);
    SetActiveInterfaceSource(nullptr);
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

}  // namespace
}  // namespace fwup
