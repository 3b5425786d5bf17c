#include "upgrade/win32/spooler_queues.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/common/program_services.h"

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
    const InstalledServices installed({.printQueues = host.get()});
    EXPECT_FALSE(IsPortOccupied(L"")) << "a printer without a port is never occupied";
}

struct FakeQueue {
    std::wstring name;
    std::wstring port;
    DWORD jobs;
};

// A spooler holding `queues`: answers EnumPrintersW as Windows does, the PRINTER_INFO_2W records
// first and the texts they point at after them in the same buffer.
EnumPrintersCall FakeSpooler(std::vector<FakeQueue> queues) {
    return [queues](DWORD, LPWSTR, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                    LPDWORD returned) -> BOOL {
        if (level != 2) {
            SetLastError(ERROR_INVALID_LEVEL);
            return FALSE;
        }
        std::size_t bytes = queues.size() * sizeof(PRINTER_INFO_2W);
        for (const FakeQueue& queue : queues) {
            bytes += (queue.name.size() + queue.port.size() + 2) * sizeof(wchar_t);
        }
        *needed = static_cast<DWORD>(bytes);
        *returned = 0;
        if (buffer == nullptr || size < bytes) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return FALSE;
        }
        auto* records = reinterpret_cast<PRINTER_INFO_2W*>(buffer);
        auto* text = reinterpret_cast<wchar_t*>(records + queues.size());
        const auto place = [&text](const std::wstring& value) {
            wchar_t* at = text;
            std::memcpy(at, value.c_str(), (value.size() + 1) * sizeof(wchar_t));
            text += value.size() + 1;
            return at;
        };
        for (std::size_t i = 0; i < queues.size(); ++i) {
            records[i] = PRINTER_INFO_2W{};
            records[i].pPrinterName = place(queues[i].name);
            records[i].pPortName = place(queues[i].port);
            records[i].cJobs = queues[i].jobs;
        }
        *returned = static_cast<DWORD>(queues.size());
        return TRUE;
    };
}

// Two queues print to USB001 (the driver was installed twice); only the second has jobs. The
// port is busy; a port whose name differs only in case is not.
TEST(SpoolerQueueSource, JobsInTheSecondQueueOfAPortOccupyIt) {
    SpoolerQueueSource source(FakeSpooler({{L"Viruzu TQ3800HKR Series", L"USB001", 0},
                                           {L"Viruzu TQ3800HKR Series (Copy 1)", L"USB001", 2},
                                           {L"Other", L"usb002", 1}}));
    const std::optional<std::vector<PrintQueue>> queues = source.ListQueues();
    ASSERT_TRUE(queues.has_value());
    ASSERT_EQ(queues->size(), 3u);
    EXPECT_EQ((*queues)[1].portName, L"USB001");
    EXPECT_EQ((*queues)[1].jobs, 2u);

    const InstalledServices installed({.printQueues = &source});
    EXPECT_TRUE(IsPortOccupied(L"USB001"));
    EXPECT_FALSE(IsPortOccupied(L"USB002"));
}

}  // namespace
}  // namespace fwup::win32
