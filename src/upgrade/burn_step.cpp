#include "upgrade/burn_step.h"

#include <string>

#include "log/tool_log.h"
#include "protocol/firmware_resource.h"
#include "protocol/firmware_transfer.h"
#include "protocol/printer_queries.h"
#include "protocol/result_codes.h"

namespace fwup {

int BurnFW(const PrinterTarget& printer, TransferObserver* observer) {
    int resourceId = kPackagePlainId;
    if (bFwEncrypted.load()) {
        WriteToolLog(L"Will burn FW which is encrypted");
        resourceId = kPackageEncryptedId;
    } else {
        WriteToolLog(L"Will burn FW which is not encrypted");
    }

    const int result = SendElf(resourceId, printer, observer);
    if (result == kResultOk) {
        return kResultOk;
    }
    const std::wstring line = L"Send Elf failed, Error Code:" + std::to_wstring(result) + L"!";
    ToolShowNotice(line);
    WriteToolLog(line);
    return result;
}

}  // namespace fwup
