#include "upgrade/win32/spooler_queues.h"

#include <gtest/gtest.h>

namespace fwup::win32 {
namespace {

// The machine's own queues decide what comes back (Wine lists none, or the host's); what holds
// everywhere is that the walk completes and every record is read whole.
TEST(SpoolerQueueSource, ListsTheMachinesQueues) {
    const std::optional<std::vector<PrintQueue>> queues = SpoolerQueueSource().ListQueues();
    ASSERT_TRUE(queues.has_value());
    for (const PrintQueue& queue : *queues) {
        EXPECT_EQ(queue.portName.find(L'\0'), std::wstring::npos);
    }
    const std::unique_ptr<PrintQueueSource> host = MakeHostPrintQueueSource();
    ASSERT_NE(host, nullptr);
    SetActivePrintQueueSource(host.get());
    EXPECT_FALSE(IsPortOccupied(L"")) << "a printer without a port is never occupied";
    SetActivePrintQueueSource(nullptr);
}

}  // namespace
}  // namespace fwup::win32
