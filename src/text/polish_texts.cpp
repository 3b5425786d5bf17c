#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// Polish says "oprogramowanie sprzętowe" for firmware and addresses the user with the second
// person imperative, both as Polish software and printer manuals do; the printer's keys stand in
// Polish quotation marks, and a no-break space keeps a one-letter word from ending a line, as
// Polish typesetting asks.
constexpr std::array<LangTextEntry, 44> kPolishTexts{{
    {TXT_TITLE, L"Narzędzie do aktualizacji oprogramowania sprzętowego Viruzu"},
    {TXT_RETRY_OR_CONTACT,
     L"Aby ponowić aktualizację, uruchom ponownie drukarkę lub skontaktuj się z\u00A0działem "
     L"obsługi "
     L"klienta Viruzu."},
    {TXT_NOTICE_HANDS_OFF,
     L"Uwaga: podczas aktualizacji nie wykonuj żadnych czynności na drukarce ani na "
     L"komputerze."},
    {TXT_RESTART_PRINTER, L"Uruchom ponownie drukarkę."},
    {TXT_CONFIRM_ON_PRINTER,
     L"Drukarka jest gotowa do aktualizacji. Potwierdź aktualizację na drukarce:\r\n"
     L"1. Naciśnij przycisk „Start”, aby potwierdzić aktualizację;\r\n"
     L"2. Naciśnij przycisk „Anuluj” („Cancel”), aby anulować aktualizację."},
    {TXT_NOT_READY,
     L"Jeśli drukarka nie jest gotowa, przełącz ją w\u00A0stan gotowości lub uśpienia "
     L"i\u00A0ponownie "
     L"uruchom narzędzie do aktualizacji."},
    {TXT_NOT_CONNECTED,
     L"Jeśli drukarka Viruzu nie jest podłączona, sprawdź, czy kabel USB jest prawidłowo "
     L"podłączony."},
    {TXT_UPGRADING, L"Trwa aktualizacja oprogramowania sprzętowego, proszę czekać\u2026"},
    {TXT_TRANSMITTING, L"Trwa przesyłanie danych, proszę czekać\u2026"},
    {TXT_SUCCEEDED, L"Aktualizacja oprogramowania sprzętowego zakończyła się pomyślnie."},
    {TXT_FAILED, L"Aktualizacja oprogramowania sprzętowego nie powiodła się."},
    {TXT_VERSION_HIGHER,
     L"Wersja oprogramowania sprzętowego drukarki jest nowsza niż wersja do zainstalowania."},
    {TXT_VERSION_SAME,
     L"Wersja oprogramowania sprzętowego drukarki jest taka sama jak wersja do "
     L"zainstalowania."},
    {TXT_CANCELED, L"Aktualizacja została anulowana."},
    {TXT_STEPS,
     L"Uwaga: nie wyłączaj drukarki ani komputera podczas aktualizacji.\r\n"
     L"\r\n"
     L"\r\n"
     L"Jak przeprowadzić aktualizację:\r\n"
     L"\r\n"
     L"1. Włącz drukarkę i\u00A0przełącz ją w\u00A0stan gotowości lub uśpienia;\r\n"
     L"2. Połącz drukarkę z\u00A0komputerem kablem USB.\r\n"},
    {TXT_TIPS,
     L"Wskazówki:\r\n"
     L"1. Narzędzie aktualizuje naraz tylko jedną podłączoną drukarkę Viruzu.\r\n"
     L"2. Serie drukarek obsługiwane przez tę wersję narzędzia:\r\n"},
    {TXT_COMPLETE, L"Gotowe"},
    {TXT_START, L"Aktualizuj"},
    {TXT_EXIT, L"Zakończ"},
    {TXT_FONT_FACE, L"Times New Roman"},
    {TXT_CLOSE_ITEM, L"&Zamknij"},
    {TXT_NEW_DRIVER,
     L"Po aktualizacji oprogramowania sprzętowego należy używać drukarki z\u00A0nowym "
     L"sterownikiem. "
     L"Szczegóły znajdziesz w\u00A0instrukcji obsługi narzędzia do aktualizacji."},
    {TXT_PORT_OCCUPIED,
     L"Port drukarki jest zajęty. Nie można zaktualizować oprogramowania sprzętowego."},
    {TXT_CONFIRM, L"OK"},
    {TXT_YES, L"Tak"},
    {TXT_NO, L"Nie"},
    {TXT_FW_UNRECOGNIZED,
     L"Nie można rozpoznać oprogramowania sprzętowego drukarki. Skontaktuj się z\u00A0działem "
     L"obsługi "
     L"klienta Viruzu."},
    {TXT_KEEP_POWER_ON, L"Nie wyłączaj drukarki, dopóki aktualizacja się nie zakończy."},
    {TXT_PRINTER_IN_USE,
     L"Na tej drukarce trwa już inna aktualizacja. Poczekaj, aż się zakończy, i spróbuj "
     L"ponownie."},
    {TXT_LOW_BATTERY,
     L"Bateria komputera jest prawie rozładowana. Podłącz komputer do zasilania sieciowego i "
     L"spróbuj ponownie."},
    {TXT_PRINTERS_NONE,
     L"Nie podłączono żadnej obsługiwanej drukarki. Włącz drukarkę i\u00A0podłącz ją do "
     L"komputera kablem USB."},
    {TXT_PRINTER_CHOSEN, L"Drukarka do aktualizacji:"},
    {TXT_PRINTERS_CHOOSE, L"Podłączono kilka drukarek. Wybierz drukarkę do aktualizacji:"},
    {TXT_SERIAL, L"numer seryjny"},
    {TXT_PRINTER, L"Drukarka:"},
    {TXT_FIRMWARE, L"Oprogramowanie sprzętowe:"},
    {TXT_BYTES, L"bajtów"},
    {TXT_TIME_LEFT, L"Pozostały czas:"},
    {TXT_FOLLOW_WAITING,
     L"Oczekiwanie na ponowne uruchomienie drukarki z\u00A0nowym oprogramowaniem sprzętowym. "
     L"Nie wyłączaj drukarki. Czas oczekiwania:"},
    {TXT_FOLLOW_CURRENT,
     L"Drukarka została ponownie uruchomiona i\u00A0działa z\u00A0nowym oprogramowaniem "
     L"sprzętowym:"},
    {TXT_FOLLOW_NOT_TAKEN,
     L"Drukarka została ponownie uruchomiona, ale nie przyjęła nowego oprogramowania "
     L"sprzętowego. Działa w\u00A0wersji:"},
    {TXT_FOLLOW_NOT_BACK,
     L"Drukarka nie połączyła się ponownie w\u00A0ciągu 10 minut. Może nadal instalować "
     L"oprogramowanie sprzętowe: nie wyłączaj drukarki i\u00A0przed użyciem sprawdź jej "
     L"panel."},
    {TXT_FOLLOW_UNKNOWN,
     L"Dwie podłączone drukarki mają identyfikator tej drukarki, więc nie można odczytać "
     L"oprogramowania sprzętowego, z\u00A0którym teraz działa. Sprawdź wersję na panelu "
     L"drukarki."},
    {TXT_PRINTERS_ATTACHED, L"Podłączone drukarki:"},
}};
static_assert(IsWellFormed(kPolishTexts));

}  // namespace

std::span<const LangTextEntry> PolishTexts() {
    return kPolishTexts;
}

}  // namespace fwup
