#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// Italian follows the impersonal infinitive of Italian manuals and dialogs ("Riavviare la
// stampante"); "No" is the same word as in English.
constexpr std::array<LangTextEntry, 44> kItalianTexts{{
    {TXT_TITLE, L"Strumento di aggiornamento firmware Viruzu"},
    {TXT_RETRY_OR_CONTACT,
     L"Riavviare la stampante per ripetere l'aggiornamento oppure contattare l'assistenza clienti "
     L"Viruzu."},
    {TXT_NOTICE_HANDS_OFF,
     L"Attenzione: durante l'aggiornamento non eseguire alcuna operazione sulla stampante né sul "
     L"computer."},
    {TXT_RESTART_PRINTER, L"Riavviare la stampante."},
    {TXT_CONFIRM_ON_PRINTER,
     L"La stampante è pronta per l'aggiornamento. Confermare di nuovo sulla stampante:\r\n"
     L"1. Premere il pulsante “Avvio” (“Start”) per confermare l'aggiornamento;\r\n"
     L"2. Premere il pulsante “Annulla” (“Cancel”) per annullare l'aggiornamento."},
    {TXT_NOT_READY,
     L"Se la stampante non è pronta, riportarla in stato di pronto o in modalità di sospensione "
     L"e avviare di nuovo lo strumento di aggiornamento."},
    {TXT_NOT_CONNECTED,
     L"Se la stampante Viruzu non risulta collegata, verificare che il cavo USB sia collegato "
     L"correttamente."},
    {TXT_UPGRADING, L"Aggiornamento del firmware in corso, attendere\u2026"},
    {TXT_TRANSMITTING, L"Trasferimento dei dati in corso, attendere\u2026"},
    {TXT_SUCCEEDED, L"Aggiornamento del firmware completato correttamente."},
    {TXT_FAILED, L"Aggiornamento del firmware non riuscito."},
    {TXT_VERSION_HIGHER,
     L"La versione del firmware installata nella stampante è superiore a quella da installare."},
    {TXT_VERSION_SAME,
     L"La versione del firmware installata nella stampante è uguale a quella da installare."},
    {TXT_CANCELED, L"L'aggiornamento è stato annullato."},
    {TXT_STEPS,
     L"Attenzione: non spegnere la stampante né il computer durante l'aggiornamento.\r\n"
     L"\r\n"
     L"\r\n"
     L"Procedura di aggiornamento:\r\n"
     L"\r\n"
     L"1. Accendere la stampante e portarla in stato di pronto o in modalità di sospensione;\r\n"
     L"2. Collegare la stampante al computer con un cavo USB;\r\n"},
    {TXT_TIPS,
     L"Note:\r\n"
     L"1. Questo strumento aggiorna una sola stampante Viruzu alla volta.\r\n"
     L"2. Serie di stampanti supportate da questa versione dello strumento di aggiornamento:\r\n"},
    {TXT_COMPLETE, L"Fine"},
    {TXT_START, L"Avvia aggiornamento"},
    {TXT_EXIT, L"Esci"},
    {TXT_FONT_FACE, L"宋体"},
    {TXT_CLOSE_ITEM, L"关闭(&C)"},
    {TXT_NEW_DRIVER,
     L"Dopo l'aggiornamento del firmware la stampante deve essere utilizzata con il nuovo "
     L"driver. Consultare la guida all'uso dello strumento di aggiornamento."},
    {TXT_PORT_OCCUPIED,
     L"La porta della stampante è occupata: impossibile aggiornare il firmware."},
    {TXT_CONFIRM, L"OK"},
    {TXT_YES, L"Sì"},
    {TXT_NO, L"No"},
    {TXT_FW_UNRECOGNIZED,
     L"Impossibile riconoscere il firmware della stampante. Contattare l'assistenza clienti "
     L"Viruzu."},
    {TXT_KEEP_POWER_ON, L"Non spegnere la stampante prima del termine dell'aggiornamento."},
    {TXT_PRINTER_IN_USE,
     L"Su questa stampante è già in corso un altro aggiornamento. Attendere che termini e "
     L"riprovare."},
    {TXT_LOW_BATTERY,
     L"La batteria del computer è quasi scarica. Collegare il computer alla rete elettrica e "
     L"riprovare."},
    {TXT_PRINTERS_NONE,
     L"Non è collegata alcuna stampante supportata. Accendere la stampante e collegarla al "
     L"computer con un cavo USB."},
    {TXT_PRINTER_CHOSEN, L"Stampante da aggiornare:"},
    {TXT_PRINTERS_CHOOSE, L"Sono collegate più stampanti. Scegliere quella da aggiornare:"},
    {TXT_SERIAL, L"numero di serie"},
    {TXT_PRINTER, L"Stampante:"},
    {TXT_FIRMWARE, L"Firmware:"},
    {TXT_BYTES, L"byte"},
    {TXT_TIME_LEFT, L"Tempo rimanente:"},
    {TXT_FOLLOW_WAITING,
     L"In attesa del riavvio della stampante con il nuovo firmware. Non spegnere la stampante. "
     L"Tempo di attesa:"},
    {TXT_FOLLOW_CURRENT, L"La stampante è stata riavviata e funziona con il nuovo firmware:"},
    {TXT_FOLLOW_NOT_TAKEN,
     L"La stampante è stata riavviata ma non ha applicato il nuovo firmware. Funziona con la "
     L"versione:"},
    {TXT_FOLLOW_NOT_BACK,
     L"La stampante non si è ricollegata entro 10 minuti. Potrebbe essere ancora in corso "
     L"l'installazione del firmware: non spegnere la stampante e controllarne il pannello prima "
     L"di utilizzarla."},
    {TXT_FOLLOW_UNKNOWN,
     L"Due stampanti collegate hanno l'ID di questa stampante, quindi non è possibile leggere il "
     L"firmware che la stampante esegue ora. Controllare la versione sul pannello della "
     L"stampante."},
    {TXT_PRINTERS_ATTACHED, L"Stampanti collegate:"},
}};
static_assert(IsWellFormed(kItalianTexts));

}  // namespace

std::span<const LangTextEntry> ItalianTexts() {
    return kItalianTexts;
}

}  // namespace fwup
