#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// Ids 19 and 20 are settings, not translations: the face name of the window fonts and the caption
// of the system menu's close item where the platform has none. The Chinese values stay in the
// Latin-script tables too; Turkish and Russian need a face that carries their letters.
constexpr std::array<LangTextEntry, 44> kEnglishTexts{{
    {TXT_TITLE, L"Viruzu  Firmware Upgrade Tool"},
    {TXT_RETRY_OR_CONTACT,
     L"Please restart the printer to upgrade again, or contact the Viruzu customer service "
     L"staff."},
    {TXT_NOTICE_HANDS_OFF,
     L"Notice: During the upgrade, please do not carry out any operation on the printer and "
     L"computer."},
    {TXT_RESTART_PRINTER, L"Please restart the printer."},
    {TXT_CONFIRM_ON_PRINTER,
     L"The printer is ready for upgrade, please reconfirm on the printer:\r\n"
     L"1. Press the \"Start\" button to confirm the upgrade;\r\n"
     L"2. Press the \"Cancel\" button to cancel the upgrade task."},
    {TXT_NOT_READY,
     L"If the printer is not ready, please reset the printer to the ready or sleep state, and "
     L"rerun the upgrade tool."},
    {TXT_NOT_CONNECTED,
     L"If the Viruzu printer is not connected, please check whether the USB cable is connected "
     L"properly."},
    {TXT_UPGRADING, L"The firmware is upgrading, please wait\u2026"},
    {TXT_TRANSMITTING, L"The data is being transmitted, please wait\u2026"},
    {TXT_SUCCEEDED, L"The firmware upgrade is successful."},
    {TXT_FAILED, L"The firmware upgrade is failed."},
    {TXT_VERSION_HIGHER,
     L"The current firmware version of the printer is higher than the version to be upgraded "
     L"to"},
    {TXT_VERSION_SAME,
     L"The current firmware version of the printer is the same with the version to be upgraded "
     L"to"},
    {TXT_CANCELED, L"The upgrade task has been canceled."},
    {TXT_STEPS,
     L"Notice: Please do not turn off the printer and the computer during the upgrade.\r\n"
     L"\r\n"
     L"\r\n"
     L"The upgrade steps are as follows:\r\n"
     L"\r\n"
     L"1. Please turn on the printer, and set it to the ready or sleep state;\r\n"
     L"2. Use a USB cable to connect the printer and the computer;\r\n"},
    {TXT_TIPS,
     L"Tips:\r\n"
     L"1. This upgrade tool can only support being connected to one Viruzu printer for upgrade "
     L"at a time.\r\n"
     L"2. The printer series supported by this version of upgrade tool:\r\n"},
    {TXT_COMPLETE, L"Complete"},
    {TXT_START, L"Start to upgrade"},
    {TXT_EXIT, L"Exit"},
    {TXT_FONT_FACE, L"宋体"},
    {TXT_CLOSE_ITEM, L"关闭(&C)"},
    {TXT_NEW_DRIVER,
     L"The printer shall be used with the new driver after the firmware upgrade, please check "
     L"the operation guide for upgrade tools."},
    {TXT_PORT_OCCUPIED, L"The printer port is occupied, and the firmware cannot be upgraded."},
    {TXT_CONFIRM, L"Confirm"},
    {TXT_YES, L"Yes"},
    {TXT_NO, L"No"},
    {TXT_FW_UNRECOGNIZED,
     L"Unable to recognize the firmware in the printer, please contact Viruzu customer service."},
    {TXT_KEEP_POWER_ON, L"Please do not turn off the printer before upgrading."},
    {TXT_PRINTER_IN_USE,
     L"Another upgrade is running on this printer. Wait until it has ended and try again."},
    {TXT_LOW_BATTERY,
     L"The computer's battery is nearly empty. Connect the computer to mains power and try "
     L"again."},
    {TXT_PRINTERS_NONE,
     L"No supported printer is attached. Turn the printer on and connect it with a USB cable."},
    {TXT_PRINTER_CHOSEN, L"Printer to upgrade:"},
    {TXT_PRINTERS_CHOOSE, L"Several printers are attached. Choose the one to upgrade:"},
    {TXT_SERIAL, L"serial"},
    {TXT_PRINTER, L"Printer:"},
    {TXT_FIRMWARE, L"Firmware:"},
    {TXT_BYTES, L"bytes"},
    {TXT_TIME_LEFT, L"Time left:"},
    {TXT_FOLLOW_WAITING,
     L"Waiting for the printer to restart on the new firmware. Do not turn it off. Waited:"},
    {TXT_FOLLOW_CURRENT, L"The printer has restarted and runs the new firmware:"},
    {TXT_FOLLOW_NOT_TAKEN,
     L"The printer restarted but did not take the new firmware. It runs version:"},
    {TXT_FOLLOW_NOT_BACK,
     L"The printer has not come back within 10 minutes. It may still be flashing its firmware: "
     L"do not turn it off, and check its panel before you use it."},
    {TXT_FOLLOW_UNKNOWN,
     L"Two attached printers have this printer's ID, so the firmware it runs now cannot be "
     L"read. Check the version on the printer's panel."},
    {TXT_PRINTERS_ATTACHED, L"Printers attached:"},
}};
static_assert(IsWellFormed(kEnglishTexts));

}  // namespace

std::span<const LangTextEntry> EnglishTexts() {
    return kEnglishTexts;
}

}  // namespace fwup
