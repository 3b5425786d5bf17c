#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// Ukrainian addresses the user with the polite plural imperative of Ukrainian software and says
// "мікропрограма", the term of Ukrainian printer manuals. Written from the English texts in
// Ukrainian usage, not taken over from the Russian file. Guillemets around the printer's button
// names; the apostrophe is U+2019, as in "комп’ютер".
constexpr std::array<LangTextEntry, 44> kUkrainianTexts{{
    {TXT_TITLE, L"Утиліта оновлення мікропрограми Viruzu"},
    {TXT_RETRY_OR_CONTACT,
     L"Щоб повторити оновлення, перезапустіть принтер або зверніться до служби підтримки "
     L"Viruzu."},
    {TXT_NOTICE_HANDS_OFF,
     L"Увага! Під час оновлення не виконуйте жодних дій із принтером і комп’ютером."},
    {TXT_RESTART_PRINTER, L"Перезапустіть принтер."},
    {TXT_CONFIRM_ON_PRINTER,
     L"Принтер готовий до оновлення. Ще раз підтвердьте оновлення на панелі принтера:\r\n"
     L"1. Натисніть кнопку «Пуск» («Start»), щоб підтвердити оновлення;\r\n"
     L"2. Натисніть кнопку «Скасувати» («Cancel»), щоб скасувати оновлення."},
    {TXT_NOT_READY,
     L"Якщо принтер не готовий, переведіть його в стан готовності або в режим сну й знову "
     L"запустіть утиліту оновлення."},
    {TXT_NOT_CONNECTED,
     L"Якщо принтер Viruzu не підключено, перевірте, чи правильно під’єднано USB-кабель."},
    {TXT_UPGRADING, L"Триває оновлення мікропрограми, зачекайте\u2026"},
    {TXT_TRANSMITTING, L"Триває передавання даних, зачекайте\u2026"},
    {TXT_SUCCEEDED, L"Мікропрограму успішно оновлено."},
    {TXT_FAILED, L"Не вдалося оновити мікропрограму."},
    {TXT_VERSION_HIGHER, L"Поточна версія мікропрограми принтера новіша за ту, що встановлюється."},
    {TXT_VERSION_SAME,
     L"Поточна версія мікропрограми принтера збігається з тією, що встановлюється."},
    {TXT_CANCELED, L"Оновлення скасовано."},
    {TXT_STEPS,
     L"Увага! Не вимикайте принтер і комп’ютер під час оновлення.\r\n"
     L"\r\n"
     L"\r\n"
     L"Порядок оновлення:\r\n"
     L"\r\n"
     L"1. Увімкніть принтер і переведіть його в стан готовності або в режим сну;\r\n"
     L"2. Підключіть принтер до комп’ютера за допомогою USB-кабелю;\r\n"},
    {TXT_TIPS,
     L"Примітки:\r\n"
     L"1. Утиліта оновлює лише один підключений принтер Viruzu за раз.\r\n"
     L"2. Серії принтерів, які підтримує ця версія утиліти оновлення:\r\n"},
    {TXT_COMPLETE, L"Готово"},
    {TXT_START, L"Почати оновлення"},
    {TXT_EXIT, L"Вихід"},
    {TXT_FONT_FACE, L"Times New Roman"},
    {TXT_CLOSE_ITEM, L"&Закрити"},
    {TXT_NEW_DRIVER,
     L"Після оновлення мікропрограми принтер слід використовувати з новим драйвером. "
     L"Докладніше див. у посібнику до утиліти оновлення."},
    {TXT_PORT_OCCUPIED, L"Порт принтера зайнятий, оновити мікропрограму неможливо."},
    {TXT_CONFIRM, L"OK"},
    {TXT_YES, L"Так"},
    {TXT_NO, L"Ні"},
    {TXT_FW_UNRECOGNIZED,
     L"Не вдалося розпізнати мікропрограму принтера. Зверніться до служби підтримки Viruzu."},
    {TXT_KEEP_POWER_ON, L"Не вимикайте принтер до завершення оновлення."},
    {TXT_PRINTER_IN_USE,
     L"На цьому принтері вже триває інше оновлення. Дочекайтеся його завершення й повторіть "
     L"спробу."},
    {TXT_LOW_BATTERY,
     L"Акумулятор комп’ютера майже розряджений. Підключіть комп’ютер до електромережі й "
     L"повторіть спробу."},
    {TXT_PRINTERS_NONE,
     L"Не підключено жодного підтримуваного принтера. Увімкніть принтер і підключіть його до "
     L"комп’ютера за допомогою USB-кабелю."},
    {TXT_PRINTER_CHOSEN, L"Принтер для оновлення:"},
    {TXT_PRINTERS_CHOOSE, L"Підключено кілька принтерів. Виберіть принтер для оновлення:"},
    {TXT_SERIAL, L"серійний номер"},
    {TXT_PRINTER, L"Принтер:"},
    {TXT_FIRMWARE, L"Мікропрограма:"},
    {TXT_BYTES, L"байтів"},
    {TXT_TIME_LEFT, L"Залишилося часу:"},
    {TXT_FOLLOW_WAITING,
     L"Очікування перезапуску принтера з новою мікропрограмою. Не вимикайте принтер. Час "
     L"очікування:"},
    {TXT_FOLLOW_CURRENT, L"Принтер перезапущено, він працює з новою мікропрограмою:"},
    {TXT_FOLLOW_NOT_TAKEN,
     L"Принтер перезапущено, але нову мікропрограму не застосовано. Поточна версія:"},
    {TXT_FOLLOW_NOT_BACK,
     L"Принтер не підключився повторно протягом 10 хвилин. Можливо, він ще встановлює "
     L"мікропрограму: не вимикайте принтер і перед використанням перевірте його панель."},
    {TXT_FOLLOW_UNKNOWN,
     L"Два підключені принтери мають ідентифікатор цього принтера, тому неможливо прочитати, "
     L"яка мікропрограма на ньому зараз працює. Перевірте версію на панелі принтера."},
    {TXT_PRINTERS_ATTACHED, L"Підключено принтерів:"},
}};
static_assert(IsWellFormed(kUkrainianTexts));

}  // namespace

std::span<const LangTextEntry> UkrainianTexts() {
    return kUkrainianTexts;
}

}  // namespace fwup
