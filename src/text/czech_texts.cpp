#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// Czech addresses the user with the formal plural imperative ("Restartujte"), as Czech software
// and printer manuals do, and says "firmware" (genitive "firmwaru"). The printer's keys stand in
// Czech quotation marks „…“. A no-break space keeps a one-letter preposition or conjunction
// (a, i, k, o, s, u, v, z) from ending a line, as Czech typesetting asks.
constexpr std::array<LangTextEntry, 44> kCzechTexts{{
    {TXT_TITLE, L"Nástroj pro aktualizaci firmwaru Viruzu"},
    {TXT_RETRY_OR_CONTACT,
     L"Chcete-li aktualizaci zopakovat, restartujte tiskárnu, nebo se obraťte na zákaznickou "
     L"podporu Viruzu."},
    {TXT_NOTICE_HANDS_OFF,
     L"Upozornění: Během aktualizace neprovádějte žádné operace s\u00A0tiskárnou ani "
     L"s\u00A0počítačem."},
    {TXT_RESTART_PRINTER, L"Restartujte tiskárnu."},
    {TXT_CONFIRM_ON_PRINTER,
     L"Tiskárna je připravena k\u00A0aktualizaci. Potvrďte aktualizaci ještě jednou na "
     L"tiskárně:\r\n"
     L"1. Stisknutím tlačítka „Start“ aktualizaci potvrdíte;\r\n"
     L"2. Stisknutím tlačítka „Zrušit“ („Cancel“) aktualizaci zrušíte."},
    {TXT_NOT_READY,
     L"Pokud tiskárna není připravena, převeďte ji do stavu připravenosti nebo režimu spánku "
     L"a\u00A0spusťte nástroj pro aktualizaci znovu."},
    {TXT_NOT_CONNECTED,
     L"Pokud tiskárna Viruzu není připojena, zkontrolujte, zda je kabel USB správně připojen."},
    {TXT_UPGRADING, L"Probíhá aktualizace firmwaru, čekejte prosím\u2026"},
    {TXT_TRANSMITTING, L"Probíhá přenos dat, čekejte prosím\u2026"},
    {TXT_SUCCEEDED, L"Aktualizace firmwaru proběhla úspěšně."},
    {TXT_FAILED, L"Aktualizace firmwaru se nezdařila."},
    {TXT_VERSION_HIGHER,
     L"Verze firmwaru v\u00A0tiskárně je vyšší než verze, která se má nainstalovat."},
    {TXT_VERSION_SAME,
     L"Verze firmwaru v\u00A0tiskárně je stejná jako verze, která se má nainstalovat."},
    {TXT_CANCELED, L"Aktualizace byla zrušena."},
    {TXT_STEPS,
     L"Upozornění: Během aktualizace nevypínejte tiskárnu ani počítač.\r\n"
     L"\r\n"
     L"\r\n"
     L"Postup aktualizace:\r\n"
     L"\r\n"
     L"1. Zapněte tiskárnu a\u00A0převeďte ji do stavu připravenosti nebo režimu spánku;\r\n"
     L"2. Připojte tiskárnu k\u00A0počítači kabelem USB.\r\n"},
    {TXT_TIPS,
     L"Poznámky:\r\n"
     L"1. Tento nástroj aktualizuje vždy jen jednu připojenou tiskárnu Viruzu.\r\n"
     L"2. Řady tiskáren podporované touto verzí nástroje:\r\n"},
    {TXT_COMPLETE, L"Hotovo"},
    {TXT_START, L"Spustit aktualizaci"},
    {TXT_EXIT, L"Konec"},
    {TXT_FONT_FACE, L"Times New Roman"},
    {TXT_CLOSE_ITEM, L"&Zavřít"},
    {TXT_NEW_DRIVER,
     L"Po aktualizaci firmwaru je nutné tiskárnu používat s\u00A0novým ovladačem. Podrobnosti "
     L"najdete v\u00A0návodu k\u00A0nástroji pro aktualizaci."},
    {TXT_PORT_OCCUPIED, L"Port tiskárny je obsazen, firmware nelze aktualizovat."},
    {TXT_CONFIRM, L"OK"},
    {TXT_YES, L"Ano"},
    {TXT_NO, L"Ne"},
    {TXT_FW_UNRECOGNIZED,
     L"Firmware v\u00A0tiskárně nelze rozpoznat. Obraťte se na zákaznickou podporu Viruzu."},
    {TXT_KEEP_POWER_ON, L"Nevypínejte tiskárnu, dokud aktualizace neskončí."},
    {TXT_PRINTER_IN_USE,
     L"Na této tiskárně již probíhá jiná aktualizace. Počkejte na její dokončení a\u00A0zkuste "
     L"to znovu."},
    {TXT_LOW_BATTERY,
     L"Baterie počítače je téměř vybitá. Připojte počítač k\u00A0elektrické síti a\u00A0zkuste to "
     L"znovu."},
    {TXT_PRINTERS_NONE,
     L"Není připojena žádná podporovaná tiskárna. Zapněte tiskárnu a\u00A0připojte ji kabelem "
     L"USB."},
    {TXT_PRINTER_CHOSEN, L"Tiskárna k\u00A0aktualizaci:"},
    {TXT_PRINTERS_CHOOSE,
     L"Je připojeno několik tiskáren. Vyberte tiskárnu, kterou chcete aktualizovat:"},
    {TXT_SERIAL, L"sériové číslo"},
    {TXT_PRINTER, L"Tiskárna:"},
    {TXT_FIRMWARE, L"Firmware:"},
    {TXT_BYTES, L"bajtů"},
    {TXT_TIME_LEFT, L"Zbývající čas:"},
    {TXT_FOLLOW_WAITING,
     L"Čeká se na restart tiskárny s\u00A0novým firmwarem. Tiskárnu nevypínejte. Doba čekání:"},
    {TXT_FOLLOW_CURRENT, L"Tiskárna se restartovala a\u00A0běží s\u00A0novým firmwarem:"},
    {TXT_FOLLOW_NOT_TAKEN,
     L"Tiskárna se restartovala, ale nový firmware nepřevzala. Používá verzi:"},
    {TXT_FOLLOW_NOT_BACK,
     L"Tiskárna se do 10 minut znovu nepřipojila. Možná ještě instaluje firmware: nevypínejte "
     L"ji a\u00A0před použitím zkontrolujte její ovládací panel."},
    {TXT_FOLLOW_UNKNOWN,
     L"Dvě připojené tiskárny mají ID této tiskárny, proto nelze přečíst, jaký firmware v\u00A0ní "
     L"nyní běží. Zkontrolujte verzi na ovládacím panelu tiskárny."},
    {TXT_PRINTERS_ATTACHED, L"Připojené tiskárny:"},
}};
static_assert(IsWellFormed(kCzechTexts));

}  // namespace

std::span<const LangTextEntry> CzechTexts() {
    return kCzechTexts;
}

}  // namespace fwup
