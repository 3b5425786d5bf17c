#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// Romanian addresses the user with the polite plural imperative of Romanian software and keeps
// "firmware" (articled "firmware-ul"), as Romanian printer manuals do. Only comma-below ș and ț,
// never the cedilla forms, which are other letters; „” quotes around the printer's button names.
// The panel's "Start" is a Romanian word already, so only "Cancel" gets a translation.
constexpr std::array<LangTextEntry, 44> kRomanianTexts{{
    {TXT_TITLE, L"Utilitar de actualizare firmware Viruzu"},
    {TXT_RETRY_OR_CONTACT,
     L"Reporniți imprimanta pentru a repeta actualizarea sau contactați serviciul clienți "
     L"Viruzu."},
    {TXT_NOTICE_HANDS_OFF,
     L"Atenție: în timpul actualizării nu efectuați nicio operație pe imprimantă sau pe "
     L"computer."},
    {TXT_RESTART_PRINTER, L"Reporniți imprimanta."},
    {TXT_CONFIRM_ON_PRINTER,
     L"Imprimanta este pregătită pentru actualizare. Confirmați din nou pe imprimantă:\r\n"
     L"1. Apăsați butonul „Start” pentru a confirma actualizarea;\r\n"
     L"2. Apăsați butonul „Anulare” („Cancel”) pentru a anula actualizarea."},
    {TXT_NOT_READY,
     L"Dacă imprimanta nu este pregătită, aduceți-o în starea de pregătire sau de repaus și "
     L"rulați din nou utilitarul de actualizare."},
    {TXT_NOT_CONNECTED,
     L"Dacă imprimanta Viruzu nu este conectată, verificați dacă cablul USB este conectat "
     L"corect."},
    {TXT_UPGRADING, L"Se actualizează firmware-ul, așteptați\u2026"},
    {TXT_TRANSMITTING, L"Se transferă datele, așteptați\u2026"},
    {TXT_SUCCEEDED, L"Firmware-ul a fost actualizat cu succes."},
    {TXT_FAILED, L"Actualizarea firmware-ului a eșuat."},
    {TXT_VERSION_HIGHER,
     L"Firmware-ul din imprimantă este mai nou decât versiunea care se instalează."},
    {TXT_VERSION_SAME, L"Firmware-ul din imprimantă are deja versiunea care se instalează."},
    {TXT_CANCELED, L"Actualizarea a fost anulată."},
    {TXT_STEPS,
     L"Atenție: nu opriți imprimanta sau computerul în timpul actualizării.\r\n"
     L"\r\n"
     L"\r\n"
     L"Pașii actualizării:\r\n"
     L"\r\n"
     L"1. Porniți imprimanta și aduceți-o în starea de pregătire sau de repaus;\r\n"
     L"2. Conectați imprimanta la computer cu un cablu USB;\r\n"},
    {TXT_TIPS,
     L"Note:\r\n"
     L"1. Utilitarul actualizează o singură imprimantă Viruzu conectată la un moment dat.\r\n"
     L"2. Seriile de imprimante acceptate de această versiune a utilitarului:\r\n"},
    {TXT_COMPLETE, L"Terminare"},
    {TXT_START, L"Pornire actualizare"},
    {TXT_EXIT, L"Ieșire"},
    {TXT_FONT_FACE, L"Times New Roman"},
    {TXT_CLOSE_ITEM, L"Î&nchidere"},
    {TXT_NEW_DRIVER,
     L"După actualizarea firmware-ului, imprimanta trebuie folosită cu noul driver. Consultați "
     L"ghidul utilitarului de actualizare."},
    {TXT_PORT_OCCUPIED, L"Portul imprimantei este ocupat. Firmware-ul nu poate fi actualizat."},
    {TXT_CONFIRM, L"OK"},
    {TXT_YES, L"Da"},
    {TXT_NO, L"Nu"},
    {TXT_FW_UNRECOGNIZED,
     L"Firmware-ul imprimantei nu poate fi recunoscut. Contactați serviciul clienți Viruzu."},
    {TXT_KEEP_POWER_ON, L"Nu opriți imprimanta înainte de finalizarea actualizării."},
    {TXT_PRINTER_IN_USE,
     L"Pe această imprimantă rulează deja o altă actualizare. Așteptați să se termine și "
     L"încercați din nou."},
    {TXT_LOW_BATTERY,
     L"Bateria computerului este aproape descărcată. Conectați computerul la priză și încercați "
     L"din nou."},
    {TXT_PRINTERS_NONE,
     L"Nu este conectată nicio imprimantă acceptată. Porniți imprimanta și conectați-o cu un "
     L"cablu USB."},
    {TXT_PRINTER_CHOSEN, L"Imprimanta de actualizat:"},
    {TXT_PRINTERS_CHOOSE,
     L"Sunt conectate mai multe imprimante. Alegeți imprimanta de actualizat:"},
    {TXT_SERIAL, L"număr de serie"},
    {TXT_PRINTER, L"Imprimantă:"},
    {TXT_FIRMWARE, L"Firmware:"},
    {TXT_BYTES, L"octeți"},
    {TXT_TIME_LEFT, L"Timp rămas:"},
    {TXT_FOLLOW_WAITING,
     L"Se așteaptă repornirea imprimantei cu noul firmware. Nu opriți imprimanta. Timp de "
     L"așteptare:"},
    {TXT_FOLLOW_CURRENT, L"Imprimanta a repornit și rulează noul firmware:"},
    {TXT_FOLLOW_NOT_TAKEN,
     L"Imprimanta a repornit, dar nu a preluat noul firmware. Rulează versiunea:"},
    {TXT_FOLLOW_NOT_BACK,
     L"Imprimanta nu a revenit în 10 minute. Este posibil să își instaleze încă firmware-ul: "
     L"nu o opriți și verificați-i panoul de control înainte de a o utiliza."},
    {TXT_FOLLOW_UNKNOWN,
     L"Două imprimante conectate au ID-ul acestei imprimante, deci firmware-ul pe care îl "
     L"rulează acum nu poate fi citit. Verificați versiunea pe panoul de control al "
     L"imprimantei."},
    {TXT_PRINTERS_ATTACHED, L"Imprimante conectate:"},
}};
static_assert(IsWellFormed(kRomanianTexts));

}  // namespace

std::span<const LangTextEntry> RomanianTexts() {
    return kRomanianTexts;
}

}  // namespace fwup
