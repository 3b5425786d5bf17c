#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// Russian uses "микропрограмма", the term of Russian printer manuals, and guillemets around the
// printer's button names as Russian typography asks.
constexpr std::array<LangTextEntry, 30> kRussianTexts{{
    {TXT_TITLE, L"Утилита обновления микропрограммы Viruzu"},
    {TXT_RETRY_OR_CONTACT,
     L"Чтобы повторить обновление, перезапустите принтер или обратитесь в службу поддержки "
     L"Viruzu."},
    {TXT_NOTICE_HANDS_OFF,
     L"Внимание! Во время обновления не выполняйте никаких действий с принтером и компьютером."},
    {TXT_RESTART_PRINTER, L"Перезапустите принтер."},
    {TXT_CONFIRM_ON_PRINTER,
     L"Принтер готов к обновлению. Подтвердите действие на панели принтера:\r\n"
     L"1. Нажмите кнопку «Пуск» («Start»), чтобы подтвердить обновление;\r\n"
     L"2. Нажмите кнопку «Отмена» («Cancel»), чтобы отменить обновление."},
    {TXT_NOT_READY,
     L"Если принтер не готов, переведите его в состояние готовности или в спящий режим и снова "
     L"запустите утилиту обновления."},
    {TXT_NOT_CONNECTED,
     L"Если принтер Viruzu не подключен, проверьте, правильно ли подсоединен USB-кабель."},
    {TXT_UPGRADING, L"Выполняется обновление микропрограммы, подождите\u2026"},
    {TXT_TRANSMITTING, L"Идет передача данных, подождите\u2026"},
    {TXT_SUCCEEDED, L"Микропрограмма успешно обновлена."},
    {TXT_FAILED, L"Не удалось обновить микропрограмму."},
    {TXT_VERSION_HIGHER, L"Текущая версия микропрограммы принтера выше устанавливаемой."},
    {TXT_VERSION_SAME, L"Текущая версия микропрограммы принтера совпадает с устанавливаемой."},
    {TXT_CANCELED, L"Обновление отменено."},
    {TXT_STEPS,
     L"Внимание! Не выключайте принтер и компьютер во время обновления.\r\n"
     L"\r\n"
     L"\r\n"
     L"Порядок обновления:\r\n"
     L"\r\n"
     L"1. Включите принтер и переведите его в состояние готовности или в спящий режим;\r\n"
     L"2. Подключите принтер к компьютеру с помощью USB-кабеля;\r\n"},
    {TXT_TIPS,
     L"Примечания:\r\n"
     L"1. Утилита обновляет только один подключенный принтер Viruzu одновременно.\r\n"
     L"2. Серии принтеров, поддерживаемые этой версией утилиты обновления:\r\n"},
    {TXT_COMPLETE, L"Готово"},
    {TXT_START, L"Начать обновление"},
    {TXT_EXIT, L"Выход"},
    {TXT_FONT_FACE, L"Times New Roman"},
    {TXT_CLOSE_ITEM, L"关闭(&C)"},
    {TXT_NEW_DRIVER,
     L"После обновления микропрограммы принтер следует использовать с новым драйвером. "
     L"Подробнее см. в руководстве по работе с утилитой обновления."},
    {TXT_PORT_OCCUPIED, L"Порт принтера занят, обновить микропрограмму невозможно."},
    {TXT_CONFIRM, L"ОК"},
    {TXT_YES, L"Да"},
    {TXT_NO, L"Нет"},
    {TXT_FW_UNRECOGNIZED,
     L"Не удалось распознать микропрограмму принтера. Обратитесь в службу поддержки Viruzu."},
    {TXT_KEEP_POWER_ON, L"Не выключайте принтер до завершения обновления."},
    {TXT_PRINTER_IN_USE,
     L"На этом принтере уже идет другое обновление. Дождитесь его завершения и повторите "
     L"попытку."},
    {TXT_LOW_BATTERY,
     L"Аккумулятор компьютера почти разряжен. Подключите компьютер к электросети и повторите "
     L"попытку."},
}};
static_assert(IsWellFormed(kRussianTexts));

}  // namespace

std::span<const LangTextEntry> RussianTexts() {
    return kRussianTexts;
}

}  // namespace fwup
