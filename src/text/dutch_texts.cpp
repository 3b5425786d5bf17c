#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// Dutch addresses the user with the formal "u" ("controleert u", "wilt u") and says "firmware" and
// "update" / "bijwerken", as Dutch printer manuals do; the printer's keys stand in Dutch double
// quotation marks “…”. Compounds follow Dutch spelling: "firmware-update", "Viruzu-printer".
constexpr std::array<LangTextEntry, 44> kDutchTexts{{
    {TXT_TITLE, L"Firmware-updatetool van Viruzu"},
    {TXT_RETRY_OR_CONTACT,
     L"Start de printer opnieuw op om de update nogmaals uit te voeren, of neem contact op met de "
     L"klantenservice van Viruzu."},
    {TXT_NOTICE_HANDS_OFF,
     L"Let op: voer tijdens de update geen handelingen uit op de printer of de computer."},
    {TXT_RESTART_PRINTER, L"Start de printer opnieuw op."},
    {TXT_CONFIRM_ON_PRINTER,
     L"De printer is gereed voor de update. Bevestig de update nogmaals op de printer:\r\n"
     L"1. Druk op de knop “Start” om de update te bevestigen;\r\n"
     L"2. Druk op de knop “Annuleren” (“Cancel”) om de update te annuleren."},
    {TXT_NOT_READY,
     L"Als de printer niet gereed is, zet u deze in de gereed- of slaapstand en start u het "
     L"updateprogramma opnieuw."},
    {TXT_NOT_CONNECTED,
     L"Als de Viruzu-printer niet is aangesloten, controleert u of de USB-kabel goed is "
     L"aangesloten."},
    {TXT_UPGRADING, L"De firmware wordt bijgewerkt, even geduld\u2026"},
    {TXT_TRANSMITTING, L"De gegevens worden verzonden, even geduld\u2026"},
    {TXT_SUCCEEDED, L"De firmware-update is geslaagd."},
    {TXT_FAILED, L"De firmware-update is mislukt."},
    {TXT_VERSION_HIGHER,
     L"De firmware in de printer is nieuwer dan de versie die moet worden geïnstalleerd."},
    {TXT_VERSION_SAME,
     L"De firmware in de printer heeft al de versie die moet worden geïnstalleerd."},
    {TXT_CANCELED, L"De update is geannuleerd."},
    {TXT_STEPS,
     L"Let op: schakel de printer en de computer tijdens de update niet uit.\r\n"
     L"\r\n"
     L"\r\n"
     L"Zo voert u de update uit:\r\n"
     L"\r\n"
     L"1. Schakel de printer in en zet deze in de gereed- of slaapstand;\r\n"
     L"2. Sluit de printer met een USB-kabel aan op de computer.\r\n"},
    {TXT_TIPS,
     L"Tips:\r\n"
     L"1. Dit updateprogramma kan maar één aangesloten Viruzu-printer tegelijk bijwerken.\r\n"
     L"2. Printerseries die deze versie van het updateprogramma ondersteunt:\r\n"},
    {TXT_COMPLETE, L"Voltooien"},
    {TXT_START, L"Update starten"},
    {TXT_EXIT, L"Afsluiten"},
    {TXT_FONT_FACE, L"Times New Roman"},
    {TXT_CLOSE_ITEM, L"&Sluiten"},
    {TXT_NEW_DRIVER,
     L"Na de firmware-update moet de printer met het nieuwe stuurprogramma worden gebruikt. "
     L"Zie de handleiding van het updateprogramma."},
    {TXT_PORT_OCCUPIED, L"De printerpoort is bezet. De firmware kan niet worden bijgewerkt."},
    {TXT_CONFIRM, L"OK"},
    {TXT_YES, L"Ja"},
    {TXT_NO, L"Nee"},
    {TXT_FW_UNRECOGNIZED,
     L"De firmware in de printer wordt niet herkend. Neem contact op met de klantenservice van "
     L"Viruzu."},
    {TXT_KEEP_POWER_ON, L"Schakel de printer niet uit voordat de update is voltooid."},
    {TXT_PRINTER_IN_USE,
     L"Op deze printer loopt al een andere update. Wacht tot die is voltooid en probeer het "
     L"opnieuw."},
    {TXT_LOW_BATTERY,
     L"De accu van de computer is bijna leeg. Sluit de computer aan op het stroomnet en probeer "
     L"het opnieuw."},
    {TXT_PRINTERS_NONE,
     L"Er is geen ondersteunde printer aangesloten. Schakel de printer in en sluit deze aan met "
     L"een USB-kabel."},
    {TXT_PRINTER_CHOSEN, L"Bij te werken printer:"},
    {TXT_PRINTERS_CHOOSE,
     L"Er zijn meerdere printers aangesloten. Kies de printer die u wilt bijwerken:"},
    {TXT_SERIAL, L"serienummer"},
    {TXT_PRINTER, L"Printer:"},
    {TXT_FIRMWARE, L"Firmware:"},
    {TXT_BYTES, L"bytes"},
    {TXT_TIME_LEFT, L"Resterende tijd:"},
    {TXT_FOLLOW_WAITING,
     L"Wachten tot de printer opnieuw is opgestart met de nieuwe firmware. Schakel de printer "
     L"niet uit. Wachttijd:"},
    {TXT_FOLLOW_CURRENT, L"De printer is opnieuw opgestart en gebruikt de nieuwe firmware:"},
    {TXT_FOLLOW_NOT_TAKEN,
     L"De printer is opnieuw opgestart, maar heeft de nieuwe firmware niet overgenomen. Huidige "
     L"versie:"},
    {TXT_FOLLOW_NOT_BACK,
     L"De printer heeft zich binnen 10 minuten niet opnieuw gemeld. Mogelijk wordt de firmware "
     L"nog geïnstalleerd: schakel de printer niet uit en controleer het bedieningspaneel voordat "
     L"u de printer gebruikt."},
    {TXT_FOLLOW_UNKNOWN,
     L"Twee aangesloten printers hebben de ID van deze printer, dus kan niet worden gelezen "
     L"welke firmware er nu op draait. Controleer de versie op het bedieningspaneel van de "
     L"printer."},
    {TXT_PRINTERS_ATTACHED, L"Aangesloten printers:"},
}};
static_assert(IsWellFormed(kDutchTexts));

}  // namespace

std::span<const LangTextEntry> DutchTexts() {
    return kDutchTexts;
}

}  // namespace fwup
