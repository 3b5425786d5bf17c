#include "device/printer_target.h"

#include "base/shown_text.h"
#include "device/discovery.h"
#include "log/tool_log.h"

namespace fwup {

PrinterTarget::PrinterTarget(std::wstring_view portName) : portName_(portName) {}

PrinterTarget PrinterTarget::Pinned(std::wstring_view portName, std::wstring_view instanceId,
                                    std::wstring_view interfacePath) {
    PrinterTarget target;
    target.portName_ = portName;
    target.instanceId_ = instanceId;
    target.interfacePath_ = interfacePath;
    target.refusals_ = std::make_shared<Refusals>();
    return target;
}

PrinterTarget PrinterTarget::Pinned(const DeviceEntry& entry) {
    return Pinned(entry.PortName, entry.InstanceId, entry.InterfacePath);
}

bool PrinterTarget::Admits(std::wstring_view instanceId, std::wstring_view interfacePath) const {
    if (!refusals_ || (instanceId == instanceId_ && interfacePath == interfacePath_)) {
        return true;
    }
    refusals_->replaced.store(true);
    if (!refusals_->logged.exchange(true)) {
        WriteToolLog(L"The printer on " + ShownText(portName_) +
                     L" is not the one checked at the start; nothing was sent to it");
    }
    return false;
}

}  // namespace fwup
