#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// Simplified Chinese with full-width punctuation, the printer's keys in Chinese quotation marks
// and the two-part ellipsis Chinese writes; a blank separates Latin words from Chinese ones, as
// Chinese software does.
constexpr std::array<LangTextEntry, 44> kChineseTexts{{
    {TXT_TITLE, L"Viruzu 固件升级工具"},
    {TXT_RETRY_OR_CONTACT, L"请重新启动打印机后再次升级，或联系 Viruzu 客服人员。"},
    {TXT_NOTICE_HANDS_OFF, L"注意：升级过程中，请勿对打印机和计算机进行任何操作。"},
    {TXT_RESTART_PRINTER, L"请重新启动打印机。"},
    {TXT_CONFIRM_ON_PRINTER,
     L"打印机已准备好升级，请在打印机上再次确认：\r\n"
     L"1. 按“开始”（“Start”）键确认升级；\r\n"
     L"2. 按“取消”（“Cancel”）键取消升级任务。"},
    {TXT_NOT_READY, L"如果打印机未就绪，请将其恢复到就绪或睡眠状态，然后重新运行升级工具。"},
    {TXT_NOT_CONNECTED, L"如果未连接 Viruzu 打印机，请检查 USB 线缆是否连接正确。"},
    {TXT_UPGRADING, L"正在升级固件，请稍候\u2026\u2026"},
    {TXT_TRANSMITTING, L"正在传输数据，请稍候\u2026\u2026"},
    {TXT_SUCCEEDED, L"固件升级成功。"},
    {TXT_FAILED, L"固件升级失败。"},
    {TXT_VERSION_HIGHER, L"打印机当前的固件版本高于要升级到的版本。"},
    {TXT_VERSION_SAME, L"打印机当前的固件版本与要升级到的版本相同。"},
    {TXT_CANCELED, L"升级任务已取消。"},
    {TXT_STEPS,
     L"注意：升级过程中请勿关闭打印机和计算机。\r\n"
     L"\r\n"
     L"\r\n"
     L"升级步骤如下：\r\n"
     L"\r\n"
     L"1. 打开打印机电源，并使其处于就绪或睡眠状态；\r\n"
     L"2. 用 USB 线缆连接打印机和计算机；\r\n"},
    {TXT_TIPS,
     L"提示：\r\n"
     L"1. 本升级工具一次只能为一台已连接的 Viruzu 打印机升级。\r\n"
     L"2. 此版本升级工具支持的打印机系列：\r\n"},
    {TXT_COMPLETE, L"完成"},
    {TXT_START, L"开始升级"},
    {TXT_EXIT, L"退出"},
    {TXT_FONT_FACE, L"宋体"},
    {TXT_CLOSE_ITEM, L"关闭(&C)"},
    {TXT_NEW_DRIVER, L"固件升级后，打印机需配合新的驱动程序使用，详情请参阅升级工具的操作指南。"},
    {TXT_PORT_OCCUPIED, L"打印机端口已被占用，无法升级固件。"},
    {TXT_CONFIRM, L"确定"},
    {TXT_YES, L"是"},
    {TXT_NO, L"否"},
    {TXT_FW_UNRECOGNIZED, L"无法识别打印机中的固件，请联系 Viruzu 客服。"},
    {TXT_KEEP_POWER_ON, L"升级完成前，请勿关闭打印机。"},
    {TXT_PRINTER_IN_USE, L"此打印机正在进行另一项升级，请等待其完成后重试。"},
    {TXT_LOW_BATTERY, L"计算机电池电量即将耗尽，请将计算机连接到交流电源后重试。"},
    {TXT_PRINTERS_NONE, L"未连接受支持的打印机。请打开打印机电源，并用 USB 线缆将其连接到计算机。"},
    {TXT_PRINTER_CHOSEN, L"要升级的打印机："},
    {TXT_PRINTERS_CHOOSE, L"已连接多台打印机。请选择要升级的打印机："},
    {TXT_SERIAL, L"序列号"},
    {TXT_PRINTER, L"打印机："},
    {TXT_FIRMWARE, L"固件："},
    {TXT_BYTES, L"字节"},
    {TXT_TIME_LEFT, L"剩余时间："},
    {TXT_FOLLOW_WAITING, L"正在等待打印机以新固件重新启动。请勿关闭打印机。已等待："},
    {TXT_FOLLOW_CURRENT, L"打印机已重新启动，正在运行新固件："},
    {TXT_FOLLOW_NOT_TAKEN, L"打印机已重新启动，但新固件未生效。当前运行的版本："},
    {TXT_FOLLOW_NOT_BACK,
     L"打印机在 10 分钟内未恢复连接。它可能仍在写入固件：请勿关闭打印机，并在使用前查看打印机"
     L"面板。"},
    {TXT_FOLLOW_UNKNOWN,
     L"两台已连接的打印机都使用此打印机的 ID，因此无法读取它当前运行的固件。请在打印机面板上查看"
     L"版本。"},
    {TXT_PRINTERS_ATTACHED, L"已连接的打印机数量："},
}};
static_assert(IsWellFormed(kChineseTexts));

}  // namespace

std::span<const LangTextEntry> ChineseTexts() {
    return kChineseTexts;
}

}  // namespace fwup
