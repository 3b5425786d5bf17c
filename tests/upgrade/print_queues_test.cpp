#include "upgrade/print_queues.h"

#include <gtest/gtest.h>

#include "fakes/fake_print_queues.h"

namespace fwup {
namespace {

using testing::FakePrintQueues;

struct OccupancyCase {
    const char* name;
    std::optional<std::vector<PrintQueue>> queues;
    const wchar_t* port;
    bool occupied;
};

class PortOccupancy : public ::testing::TestWithParam<OccupancyCase> {};

TEST_P(PortOccupancy, AnyQueueOnTheExactPortWithJobsOccupiesIt) {
    FakePrintQueues source(GetParam().queues);
    EXPECT_EQ(IsPortOccupied(GetParam().port), GetParam().occupied);
}

INSTANTIATE_TEST_SUITE_P(
    Queues, PortOccupancy,
    ::testing::Values(
        OccupancyCase{"jobsWaiting", std::vector<PrintQueue>{{L"USB001", 2}}, L"USB001", true},
        // Two queues for one printer (a reinstalled driver): the jobs wait in the second.
        OccupancyCase{"jobsInTheSecondQueueOfThePort",
                      std::vector<PrintQueue>{{L"USB002", 4}, {L"USB001", 0}, {L"USB001", 3}},
                      L"USB001", true},
        OccupancyCase{"everyQueueOfThePortIdle",
                      std::vector<PrintQueue>{{L"USB001", 0}, {L"USB002", 4}, {L"USB001", 0}},
                      L"USB001", false},
        OccupancyCase{"caseDiffers", std::vector<PrintQueue>{{L"usb001", 2}}, L"USB001", false},
        OccupancyCase{"severalPortsInOneText", std::vector<PrintQueue>{{L"USB001,USB002", 2}},
                      L"USB001", false},
        OccupancyCase{"longerPortName", std::vector<PrintQueue>{{L"USB0010", 2}}, L"USB001", false},
        OccupancyCase{"noQueues", std::vector<PrintQueue>{}, L"USB001", false},
        OccupancyCase{"listingFailed", std::nullopt, L"USB001", false},
        // A printer without a port is never claimed by the queues that have none.
        OccupancyCase{"emptyPortName", std::vector<PrintQueue>{{L"", 5}}, L"", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PrintQueueSource, NoQueuesUntilInstalledAndAfterRemoval) {
    {
        FakePrintQueues source(std::vector<PrintQueue>{{L"USB001", 1}});
        EXPECT_TRUE(IsPortOccupied(L"USB001"));
    }
    const std::optional<std::vector<PrintQueue>> queues = ActivePrintQueueSource().ListQueues();
    ASSERT_TRUE(queues.has_value());
    EXPECT_TRUE(queues->empty());
}

}  // namespace
}  // namespace fwup
