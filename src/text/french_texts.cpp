#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// French says "micrologiciel" for firmware, as French-language printer manuals do, and follows
// French typography: a no-break space before a colon or semicolon and inside the guillemets
// around the printer's keys, so that a line never starts with the punctuation.
constexpr std::array<LangTextEntry, 44> kFrenchTexts{{
    {TXT_TITLE, L"Outil de mise à jour du micrologiciel Viruzu"},
    {TXT_RETRY_OR_CONTACT,
     L"Redémarrez l’imprimante pour relancer la mise à jour, ou contactez le service client "
     L"Viruzu."},
    {TXT_NOTICE_HANDS_OFF,
     L"Attention\u00A0: pendant la mise à jour, n’effectuez aucune opération sur l’imprimante "
     L"ni sur l’ordinateur."},
    {TXT_RESTART_PRINTER, L"Redémarrez l’imprimante."},
    {TXT_CONFIRM_ON_PRINTER,
     L"L’imprimante est prête pour la mise à jour. Confirmez-la sur l’imprimante\u00A0:\r\n"
     L"1. Appuyez sur la touche «\u00A0Démarrer\u00A0» («\u00A0Start\u00A0») pour confirmer la "
     L"mise à jour\u00A0;\r\n"
     L"2. Appuyez sur la touche «\u00A0Annuler\u00A0» («\u00A0Cancel\u00A0») pour annuler la mise "
     L"à jour."},
    {TXT_NOT_READY,
     L"Si l’imprimante n’est pas prête, remettez-la à l’état prêt ou en veille, puis relancez "
     L"l’outil de mise à jour."},
    {TXT_NOT_CONNECTED,
     L"Si l’imprimante Viruzu n’est pas connectée, vérifiez que le câble USB est bien "
     L"branché."},
    {TXT_UPGRADING, L"Mise à jour du micrologiciel en cours, veuillez patienter\u2026"},
    {TXT_TRANSMITTING, L"Transfert des données en cours, veuillez patienter\u2026"},
    {TXT_SUCCEEDED, L"La mise à jour du micrologiciel a réussi."},
    {TXT_FAILED, L"La mise à jour du micrologiciel a échoué."},
    {TXT_VERSION_HIGHER,
     L"La version du micrologiciel de l’imprimante est plus récente que celle à installer."},
    {TXT_VERSION_SAME,
     L"La version du micrologiciel de l’imprimante est identique à celle à installer."},
    {TXT_CANCELED, L"La mise à jour a été annulée."},
    {TXT_STEPS,
     L"Attention\u00A0: n’éteignez ni l’imprimante ni l’ordinateur pendant la mise à jour.\r\n"
     L"\r\n"
     L"\r\n"
     L"Pour mettre à jour le micrologiciel\u00A0:\r\n"
     L"\r\n"
     L"1. Allumez l’imprimante et mettez-la à l’état prêt ou en veille\u00A0;\r\n"
     L"2. Reliez l’imprimante à l’ordinateur par un câble USB.\r\n"},
    {TXT_TIPS,
     L"Remarques\u00A0:\r\n"
     L"1. Cet outil ne met à jour qu’une seule imprimante Viruzu connectée à la fois.\r\n"
     L"2. Séries d’imprimantes prises en charge par cette version de l’outil\u00A0:\r\n"},
    {TXT_COMPLETE, L"Terminer"},
    {TXT_START, L"Mettre à jour"},
    {TXT_EXIT, L"Quitter"},
    {TXT_FONT_FACE, L"Times New Roman"},
    {TXT_CLOSE_ITEM, L"&Fermer"},
    {TXT_NEW_DRIVER,
     L"Après la mise à jour du micrologiciel, l’imprimante doit être utilisée avec le nouveau "
     L"pilote. Consultez le guide d’utilisation de l’outil de mise à jour."},
    {TXT_PORT_OCCUPIED,
     L"Le port de l’imprimante est occupé\u00A0: impossible de mettre à jour le "
     L"micrologiciel."},
    {TXT_CONFIRM, L"OK"},
    {TXT_YES, L"Oui"},
    {TXT_NO, L"Non"},
    {TXT_FW_UNRECOGNIZED,
     L"Le micrologiciel de l’imprimante n’a pas pu être reconnu. Contactez le service client "
     L"Viruzu."},
    {TXT_KEEP_POWER_ON, L"N’éteignez pas l’imprimante avant la fin de la mise à jour."},
    {TXT_PRINTER_IN_USE,
     L"Une autre mise à jour est en cours sur cette imprimante. Attendez qu’elle se termine, "
     L"puis réessayez."},
    {TXT_LOW_BATTERY,
     L"La batterie de l’ordinateur est presque vide. Branchez l’ordinateur sur le secteur, puis "
     L"réessayez."},
    {TXT_PRINTERS_NONE,
     L"Aucune imprimante prise en charge n’est connectée. Allumez l’imprimante et reliez-la à "
     L"l’ordinateur par un câble USB."},
    {TXT_PRINTER_CHOSEN, L"Imprimante à mettre à jour\u00A0:"},
    {TXT_PRINTERS_CHOOSE,
     L"Plusieurs imprimantes sont connectées. Choisissez celle à mettre à jour\u00A0:"},
    {TXT_SERIAL, L"numéro de série"},
    {TXT_PRINTER, L"Imprimante\u00A0:"},
    {TXT_FIRMWARE, L"Micrologiciel\u00A0:"},
    {TXT_BYTES, L"octets"},
    {TXT_TIME_LEFT, L"Temps restant\u00A0:"},
    {TXT_FOLLOW_WAITING,
     L"Attente du redémarrage de l’imprimante avec le nouveau micrologiciel. N’éteignez pas "
     L"l’imprimante. Temps d’attente\u00A0:"},
    {TXT_FOLLOW_CURRENT,
     L"L’imprimante a redémarré et fonctionne avec le nouveau micrologiciel\u00A0:"},
    {TXT_FOLLOW_NOT_TAKEN,
     L"L’imprimante a redémarré, mais le nouveau micrologiciel n’a pas été appliqué. Elle "
     L"fonctionne avec la version\u00A0:"},
    {TXT_FOLLOW_NOT_BACK,
     L"L’imprimante ne s’est pas reconnectée dans un délai de 10 minutes. Elle est peut-être "
     L"encore en train d’installer son micrologiciel\u00A0: n’éteignez pas l’imprimante et "
     L"vérifiez son panneau de commande avant de l’utiliser."},
    {TXT_FOLLOW_UNKNOWN,
     L"Deux imprimantes connectées ont l’identifiant de cette imprimante, si bien que le "
     L"micrologiciel qu’elle exécute maintenant ne peut pas être lu. Vérifiez la version sur le "
     L"panneau de commande de l’imprimante."},
    {TXT_PRINTERS_ATTACHED, L"Imprimantes connectées\u00A0:"},
}};
static_assert(IsWellFormed(kFrenchTexts));

}  // namespace

std::span<const LangTextEntry> FrenchTexts() {
    return kFrenchTexts;
}

}  // namespace fwup
