#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// Swedish speaks to the user in the plain imperative ("Starta om skrivaren"), without "vänligen",
// as Swedish software does, and says "inbyggd programvara" for firmware, as Swedish printer
// manuals do; keep that term throughout rather than mixing in "firmware". The printer's keys
// stand in Swedish quotation marks, the same mark ” on both sides.
constexpr std::array<LangTextEntry, 44> kSwedishTexts{{
    {TXT_TITLE, L"Viruzu – uppdatering av inbyggd programvara"},
    {TXT_RETRY_OR_CONTACT,
     L"Starta om skrivaren för att uppdatera igen, eller kontakta Viruzus kundtjänst."},
    {TXT_NOTICE_HANDS_OFF,
     L"Obs! Utför inga åtgärder på skrivaren eller datorn under uppdateringen."},
    {TXT_RESTART_PRINTER, L"Starta om skrivaren."},
    {TXT_CONFIRM_ON_PRINTER,
     L"Skrivaren är redo för uppdatering. Bekräfta uppdateringen en gång till på skrivaren:\r\n"
     L"1. Tryck på knappen ”Start” för att bekräfta uppdateringen;\r\n"
     L"2. Tryck på knappen ”Avbryt” (”Cancel”) för att avbryta uppdateringen."},
    {TXT_NOT_READY,
     L"Om skrivaren inte är redo, försätt den i redo- eller viloläge och starta "
     L"uppdateringsverktyget igen."},
    {TXT_NOT_CONNECTED,
     L"Om Viruzu-skrivaren inte är ansluten, kontrollera att USB-kabeln är ordentligt "
     L"ansluten."},
    {TXT_UPGRADING, L"Den inbyggda programvaran uppdateras, vänta\u2026"},
    {TXT_TRANSMITTING, L"Data överförs, vänta\u2026"},
    {TXT_SUCCEEDED, L"Den inbyggda programvaran har uppdaterats."},
    {TXT_FAILED, L"Det gick inte att uppdatera den inbyggda programvaran."},
    {TXT_VERSION_HIGHER,
     L"Skrivarens inbyggda programvara har en högre version än den som ska installeras."},
    {TXT_VERSION_SAME,
     L"Skrivarens inbyggda programvara har redan den version som ska installeras."},
    {TXT_CANCELED, L"Uppdateringen har avbrutits."},
    {TXT_STEPS,
     L"Obs! Stäng inte av skrivaren eller datorn under uppdateringen.\r\n"
     L"\r\n"
     L"\r\n"
     L"Så här uppdaterar du:\r\n"
     L"\r\n"
     L"1. Slå på skrivaren och försätt den i redo- eller viloläge;\r\n"
     L"2. Anslut skrivaren till datorn med en USB-kabel.\r\n"},
    {TXT_TIPS,
     L"Tips:\r\n"
     L"1. Verktyget kan bara uppdatera en ansluten Viruzu-skrivare åt gången.\r\n"
     L"2. Skrivarserier som stöds av den här versionen av verktyget:\r\n"},
    {TXT_COMPLETE, L"Slutför"},
    {TXT_START, L"Starta uppdatering"},
    {TXT_EXIT, L"Avsluta"},
    {TXT_FONT_FACE, L"Times New Roman"},
    {TXT_CLOSE_ITEM, L"&Stäng"},
    {TXT_NEW_DRIVER,
     L"Efter uppdateringen måste skrivaren användas med den nya drivrutinen. Läs mer i handboken "
     L"för uppdateringsverktyget."},
    {TXT_PORT_OCCUPIED,
     L"Skrivarporten är upptagen. Den inbyggda programvaran kan inte uppdateras."},
    {TXT_CONFIRM, L"OK"},
    {TXT_YES, L"Ja"},
    {TXT_NO, L"Nej"},
    {TXT_FW_UNRECOGNIZED,
     L"Skrivarens inbyggda programvara kunde inte identifieras. Kontakta Viruzus kundtjänst."},
    {TXT_KEEP_POWER_ON, L"Stäng inte av skrivaren förrän uppdateringen är klar."},
    {TXT_PRINTER_IN_USE,
     L"En annan uppdatering pågår redan på den här skrivaren. Vänta tills den är klar och försök "
     L"igen."},
    {TXT_LOW_BATTERY,
     L"Datorns batteri är nästan urladdat. Anslut datorn till elnätet och försök igen."},
    {TXT_PRINTERS_NONE,
     L"Ingen skrivare som stöds är ansluten. Slå på skrivaren och anslut den med en USB-kabel."},
    {TXT_PRINTER_CHOSEN, L"Skrivare att uppdatera:"},
    {TXT_PRINTERS_CHOOSE, L"Flera skrivare är anslutna. Välj den som ska uppdateras:"},
    {TXT_SERIAL, L"serienummer"},
    {TXT_PRINTER, L"Skrivare:"},
    {TXT_FIRMWARE, L"Inbyggd programvara:"},
    {TXT_BYTES, L"byte"},
    {TXT_TIME_LEFT, L"Återstående tid:"},
    {TXT_FOLLOW_WAITING,
     L"Väntar på att skrivaren startar om med den nya inbyggda programvaran. Stäng inte av "
     L"skrivaren. Väntetid:"},
    {TXT_FOLLOW_CURRENT, L"Skrivaren har startats om och kör den nya inbyggda programvaran:"},
    {TXT_FOLLOW_NOT_TAKEN,
     L"Skrivaren startades om men bytte inte till den nya inbyggda programvaran. Den kör "
     L"version:"},
    {TXT_FOLLOW_NOT_BACK,
     L"Skrivaren har inte anslutits igen inom 10 minuter. Den kanske fortfarande installerar den "
     L"inbyggda programvaran: stäng inte av skrivaren och kontrollera kontrollpanelen innan du "
     L"använder den."},
    {TXT_FOLLOW_UNKNOWN,
     L"Två anslutna skrivare har den här skrivarens ID, så det går inte att läsa vilken inbyggd "
     L"programvara den kör nu. Kontrollera versionen på skrivarens kontrollpanel."},
    {TXT_PRINTERS_ATTACHED, L"Anslutna skrivare:"},
}};
static_assert(IsWellFormed(kSwedishTexts));

}  // namespace

std::span<const LangTextEntry> SwedishTexts() {
    return kSwedishTexts;
}

}  // namespace fwup
