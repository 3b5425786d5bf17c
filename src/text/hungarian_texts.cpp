#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// Hungarian addresses the user with the formal imperative ("Ön" form) of Hungarian software and
// keeps "firmware", as Hungarian printer manuals mostly do, with hyphenated suffixes
// ("firmware-t", "firmware-rel"). Only ő and ű with the double acute, never õ or û; „” quotes
// around the printer's button names. After a colon the sentence goes on in lower case.
constexpr std::array<LangTextEntry, 44> kHungarianTexts{{
    {TXT_TITLE, L"Viruzu firmware-frissítő segédprogram"},
    {TXT_RETRY_OR_CONTACT,
     L"A frissítés megismétléséhez indítsa újra a nyomtatót, vagy forduljon a Viruzu "
     L"ügyfélszolgálatához."},
    {TXT_NOTICE_HANDS_OFF,
     L"Figyelem: a frissítés közben ne végezzen semmilyen műveletet sem a nyomtatón, sem a "
     L"számítógépen."},
    {TXT_RESTART_PRINTER, L"Indítsa újra a nyomtatót."},
    {TXT_CONFIRM_ON_PRINTER,
     L"A nyomtató készen áll a frissítésre. Erősítse meg újra a nyomtatón:\r\n"
     L"1. A frissítés megerősítéséhez nyomja meg a „Start” gombot;\r\n"
     L"2. A frissítés megszakításához nyomja meg a „Mégse” („Cancel”) gombot."},
    {TXT_NOT_READY,
     L"Ha a nyomtató nem áll készen, állítsa üzemkész vagy alvó állapotba, majd futtassa újra "
     L"a frissítő programot."},
    {TXT_NOT_CONNECTED,
     L"Ha a Viruzu nyomtató nincs csatlakoztatva, ellenőrizze, hogy az USB-kábel megfelelően "
     L"csatlakozik-e."},
    {TXT_UPGRADING, L"A firmware frissítése folyamatban, várjon\u2026"},
    {TXT_TRANSMITTING, L"Adatátvitel folyamatban, várjon\u2026"},
    {TXT_SUCCEEDED, L"A firmware frissítése sikerült."},
    {TXT_FAILED, L"A firmware frissítése nem sikerült."},
    {TXT_VERSION_HIGHER, L"A nyomtató jelenlegi firmware-verziója újabb a telepítendő verziónál."},
    {TXT_VERSION_SAME,
     L"A nyomtató jelenlegi firmware-verziója megegyezik a telepítendő verzióval."},
    {TXT_CANCELED, L"A frissítés megszakítva."},
    {TXT_STEPS,
     L"Figyelem: a frissítés közben ne kapcsolja ki sem a nyomtatót, sem a számítógépet.\r\n"
     L"\r\n"
     L"\r\n"
     L"A frissítés lépései:\r\n"
     L"\r\n"
     L"1. Kapcsolja be a nyomtatót, és állítsa üzemkész vagy alvó állapotba;\r\n"
     L"2. USB-kábellel csatlakoztassa a nyomtatót a számítógéphez;\r\n"},
    {TXT_TIPS,
     L"Megjegyzések:\r\n"
     L"1. A frissítő program egyszerre csak egy csatlakoztatott Viruzu nyomtatót frissít.\r\n"
     L"2. A frissítő program ezen verziója által támogatott nyomtatósorozatok:\r\n"},
    {TXT_COMPLETE, L"Befejezés"},
    {TXT_START, L"Frissítés indítása"},
    {TXT_EXIT, L"Kilépés"},
    {TXT_FONT_FACE, L"Times New Roman"},
    {TXT_CLOSE_ITEM, L"&Bezárás"},
    {TXT_NEW_DRIVER,
     L"A firmware frissítése után a nyomtatót az új illesztőprogrammal kell használni. "
     L"Részletek a frissítő program kezelési útmutatójában."},
    {TXT_PORT_OCCUPIED, L"A nyomtató portja foglalt, a firmware nem frissíthető."},
    {TXT_CONFIRM, L"OK"},
    {TXT_YES, L"Igen"},
    {TXT_NO, L"Nem"},
    {TXT_FW_UNRECOGNIZED,
     L"A nyomtatóban lévő firmware nem ismerhető fel. Forduljon a Viruzu ügyfélszolgálatához."},
    {TXT_KEEP_POWER_ON, L"A frissítés befejezéséig ne kapcsolja ki a nyomtatót."},
    {TXT_PRINTER_IN_USE,
     L"Ezen a nyomtatón már egy másik frissítés fut. Várja meg, amíg befejeződik, majd próbálja "
     L"újra."},
    {TXT_LOW_BATTERY,
     L"A számítógép akkumulátora majdnem lemerült. Csatlakoztassa a számítógépet a konnektorhoz, "
     L"majd próbálja újra."},
    {TXT_PRINTERS_NONE,
     L"Nincs csatlakoztatva támogatott nyomtató. Kapcsolja be a nyomtatót, és csatlakoztassa "
     L"USB-kábellel."},
    {TXT_PRINTER_CHOSEN, L"Frissítendő nyomtató:"},
    {TXT_PRINTERS_CHOOSE,
     L"Több nyomtató van csatlakoztatva. Válassza ki a frissítendő nyomtatót:"},
    {TXT_SERIAL, L"sorozatszám"},
    {TXT_PRINTER, L"Nyomtató:"},
    {TXT_FIRMWARE, L"Firmware:"},
    {TXT_BYTES, L"bájt"},
    {TXT_TIME_LEFT, L"Hátralévő idő:"},
    {TXT_FOLLOW_WAITING,
     L"Várakozás a nyomtató újraindulására az új firmware-rel. Ne kapcsolja ki a nyomtatót. "
     L"Eltelt idő:"},
    {TXT_FOLLOW_CURRENT, L"A nyomtató újraindult, és az új firmware-rel működik:"},
    {TXT_FOLLOW_NOT_TAKEN,
     L"A nyomtató újraindult, de nem vette át az új firmware-t. A futó verzió:"},
    {TXT_FOLLOW_NOT_BACK,
     L"A nyomtató 10 percen belül nem jelentkezett újra. Lehet, hogy még a firmware-t "
     L"telepíti: ne kapcsolja ki, és használat előtt ellenőrizze a kezelőpaneljét."},
    {TXT_FOLLOW_UNKNOWN,
     L"Két csatlakoztatott nyomtató is ennek a nyomtatónak az azonosítóját viseli, ezért a most "
     L"futó firmware nem olvasható ki. Ellenőrizze a verziót a nyomtató kezelőpanelén."},
    {TXT_PRINTERS_ATTACHED, L"Csatlakoztatott nyomtatók:"},
}};
static_assert(IsWellFormed(kHungarianTexts));

}  // namespace

std::span<const LangTextEntry> HungarianTexts() {
    return kHungarianTexts;
}

}  // namespace fwup
