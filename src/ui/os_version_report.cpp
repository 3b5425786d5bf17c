#include "ui/os_version_report.h"

#include <string>

#include "log/notice_output.h"
#include "log/tool_log.h"

namespace fwup {
namespace {

constexpr std::uint32_t kPlatformNt = 2;
constexpr std::uint8_t kProductWorkstation = 1;

}  // namespace

int ClassifyOsVersion(const OsVersionFacts& facts) {
    if (facts.platformId != kPlatformNt) {
        return 0;
    }
    // The basic record has no product type, so a version told apart by it counts as a server.
    const bool workstation = facts.extendedRecord && facts.productType == kProductWorkstation;
    const auto either = [workstation](int workstationCode, int serverCode) {
        return workstation ? workstationCode : serverCode;
    };
    switch (facts.majorVersion) {
        case 5:
            if (facts.minorVersion == 1) {
                return 7;
            }
            if (facts.minorVersion == 2) {
                if (workstation) {
                    return 14;
                }
                return facts.extendedRecord && facts.serverR2 ? 12 : 8;
            }
            return 0;
        case 6:
            switch (facts.minorVersion) {
                case 0:
                    return facts.extendedRecord ? either(9, 10) : 0;
                case 1:
                    return either(11, 13);
                case 2:
                    return either(15, 16);
                case 3:
                    return either(17, 18);
                default:
                    return 0;
            }
        case 10:
            return facts.minorVersion == 0 ? either(19, 20) : 0;
        default:
            return 0;
    }
}

int ReportOsVersion(const OsVersionQuery& query) {
    const std::optional<OsVersionFacts> facts = query ? query() : std::nullopt;
    if (!facts) {
        return -1;
    }
    const auto decimal = [](std::uint32_t value) {
        return std::to_wstring(static_cast<std::int32_t>(value));
    };
    DebugOutput(L" ======= 系统ID =======");
    DebugOutput(L" ==== 返回：" + std::to_wstring(ClassifyOsVersion(*facts)) +
                L" ,  OS PlatformID：" + decimal(facts->platformId) + L", OS MaxID：" +
                decimal(facts->majorVersion) + L" , OS MinID：" + decimal(facts->minorVersion) +
                L" =====");
    const bool win10 = facts->platformId == kPlatformNt && facts->majorVersion == 10;
    ToolShowNotice(win10 ? L"操作系统是:Win10\r\n" : L"操作系统是:非Win10系统\r\n");
    return -1;
}

}  // namespace fwup
