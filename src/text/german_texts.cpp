#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// German addresses the user with "Sie" and says "Update" for the whole procedure, as German
// printer manuals do; the printer's keys stand in German quotation marks.
constexpr std::array<LangTextEntry, 44> kGermanTexts{{
    {TXT_TITLE, L"Viruzu-Firmware-Update-Tool"},
    {TXT_RETRY_OR_CONTACT,
     L"Starten Sie den Drucker neu, um das Update noch einmal auszuführen, oder wenden Sie sich "
     L"an den Viruzu-Kundendienst."},
    {TXT_NOTICE_HANDS_OFF,
     L"Hinweis: Bedienen Sie während des Updates weder den Drucker noch den Computer."},
    {TXT_RESTART_PRINTER, L"Starten Sie den Drucker neu."},
    {TXT_CONFIRM_ON_PRINTER,
     L"Der Drucker ist für das Update bereit. Bitte bestätigen Sie das Update noch einmal am "
     L"Drucker:\r\n"
     L"1. Drücken Sie die Taste „Start“, um das Update zu bestätigen.\r\n"
     L"2. Drücken Sie die Taste „Abbrechen“ („Cancel“), um das Update abzubrechen."},
    {TXT_NOT_READY,
     L"Ist der Drucker nicht bereit, bringen Sie ihn in den Bereitschafts- oder Ruhezustand und "
     L"starten Sie das Update-Tool erneut."},
    {TXT_NOT_CONNECTED,
     L"Ist der Viruzu-Drucker nicht verbunden, prüfen Sie, ob das USB-Kabel richtig "
     L"angeschlossen ist."},
    {TXT_UPGRADING, L"Die Firmware wird aktualisiert, bitte warten\u2026"},
    {TXT_TRANSMITTING, L"Die Daten werden übertragen, bitte warten\u2026"},
    {TXT_SUCCEEDED, L"Das Firmware-Update war erfolgreich."},
    {TXT_FAILED, L"Das Firmware-Update ist fehlgeschlagen."},
    {TXT_VERSION_HIGHER,
     L"Die Firmware im Drucker ist neuer als die Version, die installiert werden soll."},
    {TXT_VERSION_SAME,
     L"Die Firmware im Drucker hat bereits die Version, die installiert werden soll."},
    {TXT_CANCELED, L"Das Update wurde abgebrochen."},
    {TXT_STEPS,
     L"Hinweis: Schalten Sie Drucker und Computer beim Update nicht aus.\r\n"
     L"\r\n"
     L"\r\n"
     L"So gehen Sie vor:\r\n"
     L"\r\n"
     L"1. Schalten Sie den Drucker ein und bringen Sie ihn in den Bereitschafts- oder "
     L"Ruhezustand.\r\n"
     L"2. Verbinden Sie den Drucker über ein USB-Kabel mit dem Computer.\r\n"},
    {TXT_TIPS,
     L"Hinweise:\r\n"
     L"1. Das Update-Tool aktualisiert immer nur einen angeschlossenen Viruzu-Drucker.\r\n"
     L"2. Druckerserien, die diese Version des Update-Tools unterstützt:\r\n"},
    {TXT_COMPLETE, L"Fertig"},
    {TXT_START, L"Update starten"},
    {TXT_EXIT, L"Beenden"},
    {TXT_FONT_FACE, L"Times New Roman"},
    {TXT_CLOSE_ITEM, L"&Schließen"},
    {TXT_NEW_DRIVER,
     L"Nach dem Firmware-Update muss der Drucker mit dem neuen Treiber verwendet werden. "
     L"Näheres steht in der Anleitung zum Update-Tool."},
    {TXT_PORT_OCCUPIED,
     L"Der Druckeranschluss ist belegt. Die Firmware kann nicht aktualisiert werden."},
    {TXT_CONFIRM, L"OK"},
    {TXT_YES, L"Ja"},
    {TXT_NO, L"Nein"},
    {TXT_FW_UNRECOGNIZED,
     L"Die Firmware im Drucker wurde nicht erkannt. Bitte wenden Sie sich an den "
     L"Viruzu-Kundendienst."},
    {TXT_KEEP_POWER_ON, L"Schalten Sie den Drucker nicht aus, bevor das Update abgeschlossen ist."},
    {TXT_PRINTER_IN_USE,
     L"Auf diesem Drucker läuft bereits ein anderes Update. Warten Sie, bis es beendet ist, und "
     L"versuchen Sie es erneut."},
    {TXT_LOW_BATTERY,
     L"Der Akku des Computers ist fast leer. Schließen Sie den Computer an das Stromnetz an und "
     L"versuchen Sie es erneut."},
    {TXT_PRINTERS_NONE,
     L"Es ist kein unterstützter Drucker angeschlossen. Schalten Sie den Drucker ein und "
     L"verbinden Sie ihn über ein USB-Kabel mit dem Computer."},
    {TXT_PRINTER_CHOSEN, L"Drucker für das Update:"},
    {TXT_PRINTERS_CHOOSE,
     L"Es sind mehrere Drucker angeschlossen. Wählen Sie den Drucker für das Update aus:"},
    {TXT_SERIAL, L"Seriennummer"},
    {TXT_PRINTER, L"Drucker:"},
    {TXT_FIRMWARE, L"Firmware:"},
    {TXT_BYTES, L"Bytes"},
    {TXT_TIME_LEFT, L"Verbleibende Zeit:"},
    {TXT_FOLLOW_WAITING,
     L"Warten auf den Neustart des Druckers mit der neuen Firmware. Schalten Sie den Drucker "
     L"nicht aus. Wartezeit:"},
    {TXT_FOLLOW_CURRENT, L"Der Drucker wurde neu gestartet und läuft mit der neuen Firmware:"},
    {TXT_FOLLOW_NOT_TAKEN,
     L"Der Drucker wurde neu gestartet, hat die neue Firmware aber nicht übernommen. Er läuft "
     L"mit Version:"},
    {TXT_FOLLOW_NOT_BACK,
     L"Der Drucker hat sich innerhalb von 10 Minuten nicht zurückgemeldet. Möglicherweise "
     L"installiert er die Firmware noch: Schalten Sie den Drucker nicht aus und prüfen Sie sein "
     L"Bedienfeld, bevor Sie ihn verwenden."},
    {TXT_FOLLOW_UNKNOWN,
     L"Zwei angeschlossene Drucker haben die ID dieses Druckers, daher kann die Firmware, mit "
     L"der er jetzt läuft, nicht gelesen werden. Prüfen Sie die Version am Bedienfeld des "
     L"Druckers."},
    {TXT_PRINTERS_ATTACHED, L"Angeschlossene Drucker:"},
}};
static_assert(IsWellFormed(kGermanTexts));

}  // namespace

std::span<const LangTextEntry> GermanTexts() {
    return kGermanTexts;
}

}  // namespace fwup
