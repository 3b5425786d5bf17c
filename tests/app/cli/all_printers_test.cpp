// `--all`: the summary line a fleet script reads, and which attached printer a pinned run finds
// again. Its exit code is decided with the others (exit_codes_test.cpp).
#include "app/cli/all_printers.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace fwup::cli {
namespace {

PrinterOutcome Ended(int exitCode) {
    PrinterOutcome outcome{.printer = {}, .exitCode = exitCode};
    outcome.printer.ModelName = L"Viruzu TQ3800HKR Series";
    outcome.printer.PortName = L"USB001";
    outcome.printer.InstanceId = L"USB\\VID_5A7C&PID_B101\\SER0001";
    return outcome;
}

TEST(SummaryLine, ListsEachPrinterWithItsResult) {
    const std::vector<PrinterOutcome> outcomes = {Ended(0), Ended(9)};
    EXPECT_EQ(SummaryLine(13, outcomes).Text(),
              R"({"result": "summary", "exitCode": 13, "printers": [)"
              R"({"port": "USB001", "model": "Viruzu TQ3800HKR Series", "instanceId": )"
              R"("USB\\VID_5A7C&PID_B101\\SER0001", "exitCode": 0, "result": "succeeded"}, )"
              R"({"port": "USB001", "model": "Viruzu TQ3800HKR Series", "instanceId": )"
              R"("USB\\VID_5A7C&PID_B101\\SER0001", "exitCode": 9, "result": "failed"}]})"
              "\n");
    EXPECT_EQ(SummaryLine(1, {}, L"printer discovery failed with -1").Text(),
              R"({"result": "summary", "exitCode": 1, "printers": [], )"
              R"("reason": "printer discovery failed with -1"})"
              "\n");
}

DeviceEntry At(const wchar_t* instanceId, const wchar_t* path) {
    DeviceEntry entry;
    entry.InstanceId = instanceId;
    entry.InterfacePath = path;
    return entry;
}

struct PinCase {
    std::vector<DeviceEntry> attached;
    DeviceEntry pinned;
    std::optional<std::size_t> found;
};

class PinnedPrinter : public ::testing::TestWithParam<PinCase> {};

TEST_P(PinnedPrinter, IsFoundByItsIdentity) {
    EXPECT_EQ(FindPinnedPrinter(GetParam().attached, GetParam().pinned), GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PinnedPrinter,
    ::testing::Values(
        // Under another path it is not known to be the printer that was listed: not there.
        PinCase{{At(L"A", L"1"), At(L"B", L"9")}, At(L"B", L"2"), std::nullopt},
        PinCase{{At(L"S", L"1")}, At(L"S", L"2"), std::nullopt},
        PinCase{{At(L"A", L"1")}, At(L"B", L"2"), std::nullopt},
        PinCase{{}, At(L"B", L"2"), std::nullopt},
        // Two with one instance ID: only the path tells them apart.
        PinCase{{At(L"S", L"1"), At(L"S", L"2")}, At(L"S", L"2"), 1},
        PinCase{{At(L"S", L"1"), At(L"S", L"2")}, At(L"S", L"1"), 0},
        PinCase{{At(L"S", L"1"), At(L"S", L"2")}, At(L"S", L"3"), std::nullopt},
        // Instance IDs are compared exactly: a serial alone is another printer.
        PinCase{{At(L"USB\\X\\S", L"1")}, At(L"S", L"1"), std::nullopt}));

}  // namespace
}  // namespace fwup::cli
