#include "upgrade/printer_selection.h"

#include "log/tool_log.h"
#include "ui/main_window.h"

namespace fwup {

DeviceList theDeviceList;

int RefreshPrinterList() {
    // Loaded once: the window may go away during the run, and the printer list calls already do
    // nothing once it has.
    CVevaVoRirizevDlg* const window = pMainDlg.load();
    if (window != nullptr) {
        window->m_cbPrinters.ResetContent();
    }
    theDeviceList.clear();
    const int found = GetSystemDeviceList(theDeviceList);
    if (found < 0) {
        // Entries appended before the failure would have no item in the (empty) printer list;
        // dropping them keeps entry i and item i the same printer.
        theDeviceList.clear();
        ToolShowNotice(L"Get system device list failed!");
        return found;
    }
    for (std::size_t i = 0; i < theDeviceList.size(); ++i) {
        const int index = static_cast<int>(i);
        if (window != nullptr) {
            window->m_cbPrinters.InsertString(index, theDeviceList[i].ModelName);
        }
        theDeviceList[i].ListIndex = index;
    }
    if (window != nullptr) {
        window->m_cbPrinters.SetCurSel(0);
    }
    return static_cast<int>(theDeviceList.size());
}

}  // namespace fwup
