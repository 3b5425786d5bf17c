#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// Traditional Chinese written as Taiwan's software and printer manuals write it (印表機, 韌體,
// 電腦, 連線, 驅動程式, 連接埠), not as a character conversion of the Simplified table; it says
// "更新" for the procedure, as Taiwan's printer makers do. Punctuation is full-width, a label ends
// in "：", the printer's keys stand in 「」 with the English name the panel shows after them, the
// ellipsis has two parts and a blank separates Latin words and figures from Chinese ones.
constexpr std::array<LangTextEntry, 44> kTraditionalChineseTexts{{
    {TXT_TITLE, L"Viruzu 韌體更新工具"},
    {TXT_RETRY_OR_CONTACT, L"請重新啟動印表機後再次更新，或聯絡 Viruzu 客服人員。"},
    {TXT_NOTICE_HANDS_OFF, L"注意：更新期間，請勿對印表機和電腦進行任何操作。"},
    {TXT_RESTART_PRINTER, L"請重新啟動印表機。"},
    {TXT_CONFIRM_ON_PRINTER,
     L"印表機已準備好更新，請在印表機上再次確認：\r\n"
     L"1. 按下「開始」（Start）按鈕以確認更新；\r\n"
     L"2. 按下「取消」（Cancel）按鈕以取消更新作業。"},
    {TXT_NOT_READY, L"如果印表機未就緒，請將其恢復為就緒或睡眠狀態，然後重新執行更新工具。"},
    {TXT_NOT_CONNECTED, L"如果 Viruzu 印表機未連線，請檢查 USB 傳輸線是否已正確連接。"},
    {TXT_UPGRADING, L"正在更新韌體，請稍候\u2026\u2026"},
    {TXT_TRANSMITTING, L"正在傳輸資料，請稍候\u2026\u2026"},
    {TXT_SUCCEEDED, L"韌體更新成功。"},
    {TXT_FAILED, L"韌體更新失敗。"},
    {TXT_VERSION_HIGHER, L"印表機目前的韌體版本高於要更新的版本。"},
    {TXT_VERSION_SAME, L"印表機目前的韌體版本與要更新的版本相同。"},
    {TXT_CANCELED, L"更新作業已取消。"},
    {TXT_STEPS,
     L"注意：更新期間請勿關閉印表機和電腦。\r\n"
     L"\r\n"
     L"\r\n"
     L"更新步驟如下：\r\n"
     L"\r\n"
     L"1. 開啟印表機電源，並使其處於就緒或睡眠狀態；\r\n"
     L"2. 使用 USB 傳輸線連接印表機和電腦；\r\n"},
    {TXT_TIPS,
     L"提示：\r\n"
     L"1. 本更新工具一次只能更新一台已連接的 Viruzu 印表機。\r\n"
     L"2. 此版本更新工具支援的印表機系列：\r\n"},
    {TXT_COMPLETE, L"完成"},
    {TXT_START, L"開始更新"},
    {TXT_EXIT, L"結束"},
    {TXT_FONT_FACE, L"新細明體"},
    {TXT_CLOSE_ITEM, L"關閉(&C)"},
    {TXT_NEW_DRIVER, L"韌體更新後，印表機需搭配新的驅動程式使用，詳情請參閱更新工具的操作指南。"},
    {TXT_PORT_OCCUPIED, L"印表機連接埠已被佔用，無法更新韌體。"},
    {TXT_CONFIRM, L"確定"},
    {TXT_YES, L"是"},
    {TXT_NO, L"否"},
    {TXT_FW_UNRECOGNIZED, L"無法辨識印表機中的韌體，請聯絡 Viruzu 客服。"},
    {TXT_KEEP_POWER_ON, L"更新完成前，請勿關閉印表機。"},
    {TXT_PRINTER_IN_USE, L"此印表機正在進行另一項更新，請等待其完成後再試一次。"},
    {TXT_LOW_BATTERY, L"電腦的電池電量即將耗盡，請將電腦接上 AC 電源後再試一次。"},
    {TXT_PRINTERS_NONE, L"未連接支援的印表機。請開啟印表機電源，並使用 USB 傳輸線將其連接至電腦。"},
    {TXT_PRINTER_CHOSEN, L"要更新的印表機："},
    {TXT_PRINTERS_CHOOSE, L"已連接多台印表機。請選擇要更新的印表機："},
    {TXT_SERIAL, L"序號"},
    {TXT_PRINTER, L"印表機："},
    {TXT_FIRMWARE, L"韌體："},
    {TXT_BYTES, L"位元組"},
    {TXT_TIME_LEFT, L"剩餘時間："},
    {TXT_FOLLOW_WAITING, L"正在等待印表機以新韌體重新啟動。請勿關閉印表機。已等待："},
    {TXT_FOLLOW_CURRENT, L"印表機已重新啟動，正在執行新韌體："},
    {TXT_FOLLOW_NOT_TAKEN, L"印表機已重新啟動，但未套用新韌體。目前執行的版本："},
    {TXT_FOLLOW_NOT_BACK,
     L"印表機在 10 分鐘內未恢復連線，可能仍在寫入韌體。請勿關閉印表機，並在使用前查看印表機的"
     L"操作面板。"},
    {TXT_FOLLOW_UNKNOWN,
     L"兩台已連接的印表機都使用此印表機的 ID，因此無法讀取其目前執行的韌體。請在印表機的操作面板"
     L"上查看版本。"},
    {TXT_PRINTERS_ATTACHED, L"已連接的印表機數量："},
}};
static_assert(IsWellFormed(kTraditionalChineseTexts));

}  // namespace

std::span<const LangTextEntry> TraditionalChineseTexts() {
    return kTraditionalChineseTexts;
}

}  // namespace fwup
