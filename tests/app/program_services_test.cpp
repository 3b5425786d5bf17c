#include "app/common/program_services.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "base/clock.h"
#include "device/interface_source.h"
#include "device/simulated_printers.h"
#include "fakes/fake_interface_source.h"
#include "fakes/instant_clock.h"
#include "log/module_path.h"
#include "upgrade/printer_lock.h"

namespace fwup {
namespace {

// Installers nest: each sets only what it was given and puts back exactly what it replaced, so a
// test's fake outlives no inner one and a program's services outlive none of its tests.
TEST(InstalledServices, InnerInstallerPutsBackTheOuterOnesServicesAndLeavesTheRest) {
    Clock& systemClock = ActiveClock();
    InterfaceSource& emptySource = ActiveInterfaceSource();
    const std::optional<std::wstring> hostPath = ModuleFilePath();
    {
        DeviceEntry printer;
        printer.InstanceId = L"USB\\X";
        testing::InstantClock outerClock;
        const InstalledServices outer({.modulePath = L"/outer/fwup", .simulatedScenario = L"a"});
        {
            testing::InstantClock innerClock;
            testing::FakeInterfaceSource innerSource;
            const InstalledServices inner(
                {.printerLocks =
                     [](const DeviceEntry&) {
                         return PrinterLockClaim{LockClaim::kHeldElsewhere, nullptr, {}};
                     },
                 .simulatedScenario = L"b"});
            EXPECT_EQ(&ActiveClock(), &innerClock);
            EXPECT_EQ(&ActiveInterfaceSource(), &innerSource);
            EXPECT_EQ(TakePrinterLock(printer).claim, LockClaim::kHeldElsewhere);
            EXPECT_EQ(SimulatedPrintersScenario(), L"b");
            EXPECT_EQ(ModuleFilePath(), L"/outer/fwup") << "not given: the outer one's stays";
        }
        EXPECT_EQ(&ActiveClock(), &outerClock);
        EXPECT_EQ(&ActiveInterfaceSource(), &emptySource);
        EXPECT_EQ(TakePrinterLock(printer).claim, LockClaim::kTaken);
        EXPECT_EQ(SimulatedPrintersScenario(), L"a");
        EXPECT_EQ(ModuleFilePath(), L"/outer/fwup");
    }
    EXPECT_EQ(&ActiveClock(), &systemClock);
    EXPECT_EQ(SimulatedPrintersScenario(), std::nullopt);
    EXPECT_EQ(ModuleFilePath(), hostPath);
}

}  // namespace
}  // namespace fwup
