// Whole upgrade runs in which another printer is plugged in or pulled ahead of the chosen one
// while the run goes on. With port numbers by position (as on Linux) the chosen printer's port
// name then passes to another printer: the run must not send it anything, and must end as it ends
// when the chosen printer is gone.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/printer_target.h"
#include "emulation/sim_interface_source.h"
#include "text/lang_text.h"
#include "ui/dialog_templates.h"
#include "ui/message_dialog.h"
#include "ui/window_front_end.h"
#include "upgrade/upgrade_procedure.h"
#include "upgrade/upgrade_run_fixture.h"

namespace fwup {
namespace {

using testing::Look;
using testing::UpgradeRunTest;

// The printers of a scenario, by role, each with the members `more` adds.
std::string Chosen(const std::string& more) {
    return R"({"instanceId": "USB\\VID_5A7C&PID_B101\\SER0001", )" + more + "}";
}
std::string Coming(const std::string& more) {
    return R"({"instanceId": "USB\\VID_5A7C&PID_B102\\SER0002", "appears": )" + more + "}";
}
// A printer of the chosen one's model with the same serial: the same instance ID, on another
// interface path.
std::string Twin(const std::string& more) {
    return R"({"instanceId": "USB\\VID_5A7C&PID_B101\\SER0001", "appears": )" + more + "}";
}
// Another vendor's printer: listed, and numbered, but never chosen.
std::string Going(const std::string& trigger) {
    return R"({"instanceId": "USB\\VID_04B8&PID_0005\\OTHER", "leaves": )" + trigger + "}";
}
const std::string kStaying = R"({"instanceId": "USB\\VID_5A7C&PID_B102\\SER0003"})";

// The package goes out after the security record; with newer firmware after the full check.
const std::string kOlder = R"("version": "V2.10.8")";
const std::string kNewer = R"("version": "V2.11.0")";

const std::string kReplacedLine =
    "The printer on USB001 is not the one checked at the start; nothing was sent to it";

enum class Ending {
    kSecurityLost,  // as when the security query cannot open its channel: text 6, Ready
    kVersionLost,   // as when the version query cannot open its channel: failed look
    kBurnLost,      // as when the burn cannot open its channel: failed look, -6 lines
    kSucceeded,     // nothing was renumbered that the run still opens
};

struct SwapCase {
    const char* name = "";
    std::vector<std::string> printers;  // in the platform's order
    bool byPosition = true;
    Ending ending = Ending::kSucceeded;
    std::string replacedLine = kReplacedLine;  // the port name the line names
};

std::ostream& operator<<(std::ostream& out, const SwapCase& swap) {
    return out << swap.name;
}

class ReplacedPrinter : public UpgradeRunTest, public ::testing::WithParamInterface<SwapCase> {};

TEST_P(ReplacedPrinter, NothingGoesToAnotherPrinterAndTheRunEndsAsForALostOne) {
    const SwapCase& swap = GetParam();
    std::string json = std::string(R"({"portNumbers": ")") +
                       (swap.byPosition ? "byPosition" : "fixed") + R"(", "printers": [)";
    for (std::size_t i = 0; i < swap.printers.size(); ++i) {
        json += (i == 0 ? "" : ", ") + swap.printers[i];
    }
    AttachJson(json + "]}");
    if (swap.ending == Ending::kSecurityLost) {
        Answer(kIdOk);
    }
    CVevaVoRirizevDlg& window = Open();
    if (surface_.Control(kIdPrinters).items.size() > 1) {
        ChoosePrinter(L"SER0001");
    }

    UpgradeThreadProc(&window, AfterTransfer::kEndRun);

    std::size_t firmwareJobs = 0;
    std::size_t chosen = source_->printerCount();
    for (std::size_t i = 0; i < source_->printerCount(); ++i) {
        const SimPrinter& printer = *source_->printer(i);
        for (const ReceivedJob& job : printer.Jobs()) {
            firmwareJobs += job.kind == JobKind::kFirmware ? 1 : 0;
        }
        if (printer.scenario().instanceId == L"USB\\VID_5A7C&PID_B101\\SER0001" &&
            !printer.scenario().appears.set()) {
            chosen = i;
        } else {
            EXPECT_EQ(printer.BytesReceived(), 0u) << "a byte went to printer " << i;
        }
        EXPECT_FALSE(printer.channelOpen());
    }
    ASSERT_LT(chosen, source_->printerCount());
    const std::vector<std::string> burnStart = {"CRC is valid, crcCalc: 0x2d84",
                                                "response.security: 0x0", "FW is not encrypted",
                                                "Will burn FW which is not encrypted"};
    std::vector<std::string> log;
    switch (swap.ending) {
        case Ending::kSecurityLost:
            ASSERT_EQ(factory_.finished.size(), 1u);
            EXPECT_EQ(factory_.finished[0].controls.at(kIdMessageText).text,
                      GetLangText(TXT_NOT_CONNECTED));
            ExpectLook(Look::kReady);
            log = {swap.replacedLine};
            break;
        case Ending::kVersionLost:
            ExpectLook(Look::kFailed);
            log = {swap.replacedLine};
            break;
        case Ending::kBurnLost:
            ExpectLook(Look::kFailed);
            log = burnStart;
            log.insert(log.end(), {swap.replacedLine, "open USB Device failed!",
                                   "Send Elf failed, Error Code:-6!"});
            break;
        case Ending::kSucceeded:
            ExpectLook(Look::kSucceeded);
            log = burnStart;
            log.push_back("ELF is running...");
            break;
    }
    EXPECT_EQ(log_.Messages(), log);
    EXPECT_EQ(firmwareJobs, swap.ending == Ending::kSucceeded ? 1u : 0u);
}

// The triggers count the channels the run opened: the status query's is the first, the version
// query's the second, the security query's the third.
INSTANTIATE_TEST_SUITE_P(
    Swaps, ReplacedPrinter,
    ::testing::Values(
        SwapCase{.name = "PluggedInAheadAfterTheVersionQuery",
                 .printers = {Coming(R"({"afterOpens": 2})"), Chosen(kOlder)},
                 .ending = Ending::kSecurityLost},
        SwapCase{.name = "PluggedInAheadAfterTheVersionQueryNewerPrinter",
                 .printers = {Coming(R"({"afterOpens": 2})"), Chosen(kNewer)},
                 .ending = Ending::kSecurityLost},
        // The chosen printer is the first supported one, so the one pulled ahead of it is
        // another vendor's; the port name then passes to the supported printer behind it.
        SwapCase{.name = "PulledAheadAfterTheVersionQuery",
                 .printers = {Going(R"({"afterOpens": 2})"), Chosen(kOlder), kStaying},
                 .ending = Ending::kSecurityLost,
                 .replacedLine = "The printer on USB002 is not the one checked at the start; "
                                 "nothing was sent to it"},
        SwapCase{.name = "PulledAheadAfterTheStatusQuery",
                 .printers = {Going(R"({"afterOpens": 1})"), Chosen(kOlder), kStaying},
                 .ending = Ending::kVersionLost,
                 .replacedLine = "The printer on USB002 is not the one checked at the start; "
                                 "nothing was sent to it"},
        SwapCase{.name = "PluggedInAheadAfterTheSecurityQuery",
                 .printers = {Coming(R"({"afterOpens": 3})"), Chosen(kOlder)},
                 .ending = Ending::kBurnLost},
        // The same instance ID behind the name: only the interface path tells it apart.
        SwapCase{.name = "TwinPluggedInAheadAfterTheStatusQuery",
                 .printers = {Twin(R"({"afterOpens": 1})"), Chosen(kOlder)},
                 .ending = Ending::kVersionLost},
        SwapCase{.name = "TwinPluggedInAheadAfterTheVersionQuery",
                 .printers = {Twin(R"({"afterOpens": 2})"), Chosen(kOlder)},
                 .ending = Ending::kSecurityLost},
        SwapCase{.name = "TwinPluggedInAheadAfterTheSecurityQuery",
                 .printers = {Twin(R"({"afterOpens": 3})"), Chosen(kNewer)},
                 .ending = Ending::kBurnLost},

        // Nothing the run still opens is renumbered.
        SwapCase{.name = "PluggedInBehind",
                 .printers = {Chosen(kOlder), Coming(R"({"afterOpens": 1})")}},
        SwapCase{.name = "PluggedInAheadDuringTheTransfer",
                 .printers = {Coming(R"({"atByte": 200000})"), Chosen(kOlder)}},
        // Port numbers that stay with the device, as on Windows: the newcomer takes its own.
        SwapCase{.name = "PluggedInAheadWithFixedPortNumbers",
                 .printers = {Coming(R"({"afterOpens": 2}, "portNumber": 2)"),
                              Chosen(R"("portNumber": 1)")},
                 .byPosition = false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fwup
