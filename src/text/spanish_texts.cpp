#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// Spanish addresses the user as "usted" and says "equipo" for the computer, words understood
// alike in Spain and in Latin America; the printer's keys stand in angle quotes.
constexpr std::array<LangTextEntry, 44> kSpanishTexts{{
    {TXT_TITLE, L"Herramienta de actualización de firmware de Viruzu"},
    {TXT_RETRY_OR_CONTACT,
     L"Reinicie la impresora para volver a intentar la actualización o póngase en contacto con "
     L"el servicio de atención al cliente de Viruzu."},
    {TXT_NOTICE_HANDS_OFF,
     L"Aviso: durante la actualización, no realice ninguna operación en la impresora ni en el "
     L"equipo."},
    {TXT_RESTART_PRINTER, L"Reinicie la impresora."},
    {TXT_CONFIRM_ON_PRINTER,
     L"La impresora está preparada para la actualización. Vuelva a confirmarla en la impresora:\r\n"
     L"1. Pulse la tecla «Iniciar» («Start») para confirmar la actualización;\r\n"
     L"2. Pulse la tecla «Cancelar» («Cancel») para cancelar la actualización."},
    {TXT_NOT_READY,
     L"Si la impresora no está preparada, póngala en estado preparado o en reposo y vuelva a "
     L"ejecutar la herramienta de actualización."},
    {TXT_NOT_CONNECTED,
     L"Si la impresora Viruzu no está conectada, compruebe que el cable USB esté bien "
     L"enchufado."},
    {TXT_UPGRADING, L"Actualizando el firmware, espere\u2026"},
    {TXT_TRANSMITTING, L"Transfiriendo los datos, espere\u2026"},
    {TXT_SUCCEEDED, L"El firmware se ha actualizado correctamente."},
    {TXT_FAILED, L"No se ha podido actualizar el firmware."},
    {TXT_VERSION_HIGHER,
     L"La versión del firmware de la impresora es más reciente que la que se va a instalar."},
    {TXT_VERSION_SAME, L"La impresora ya tiene la misma versión de firmware que se va a instalar."},
    {TXT_CANCELED, L"Se ha cancelado la actualización."},
    {TXT_STEPS,
     L"Aviso: no apague la impresora ni el equipo durante la actualización.\r\n"
     L"\r\n"
     L"\r\n"
     L"Pasos para actualizar:\r\n"
     L"\r\n"
     L"1. Encienda la impresora y póngala en estado preparado o en reposo;\r\n"
     L"2. Conecte la impresora al equipo con un cable USB.\r\n"},
    {TXT_TIPS,
     L"Notas:\r\n"
     L"1. Esta herramienta solo actualiza una impresora Viruzu a la vez.\r\n"
     L"2. Series de impresoras compatibles con esta versión de la herramienta:\r\n"},
    {TXT_COMPLETE, L"Finalizar"},
    {TXT_START, L"Actualizar"},
    {TXT_EXIT, L"Salir"},
    {TXT_FONT_FACE, L"Times New Roman"},
    {TXT_CLOSE_ITEM, L"&Cerrar"},
    {TXT_NEW_DRIVER,
     L"Después de actualizar el firmware, la impresora debe usarse con el nuevo controlador. "
     L"Consulte la guía de uso de la herramienta de actualización."},
    {TXT_PORT_OCCUPIED,
     L"El puerto de la impresora está ocupado; no se puede actualizar el firmware."},
    {TXT_CONFIRM, L"Aceptar"},
    {TXT_YES, L"Sí"},
    {TXT_NO, L"No"},
    {TXT_FW_UNRECOGNIZED,
     L"No se reconoce el firmware de la impresora. Póngase en contacto con el servicio de "
     L"atención al cliente de Viruzu."},
    {TXT_KEEP_POWER_ON, L"No apague la impresora hasta que termine la actualización."},
    {TXT_PRINTER_IN_USE,
     L"Ya hay otra actualización en curso en esta impresora. Espere a que termine y vuelva a "
     L"intentarlo."},
    {TXT_LOW_BATTERY,
     L"La batería del equipo está casi agotada. Conecte el equipo a la red eléctrica y vuelva a "
     L"intentarlo."},
    {TXT_PRINTERS_NONE,
     L"No hay ninguna impresora compatible conectada. Encienda la impresora y conéctela al "
     L"equipo con un cable USB."},
    {TXT_PRINTER_CHOSEN, L"Impresora que se va a actualizar:"},
    {TXT_PRINTERS_CHOOSE, L"Hay varias impresoras conectadas. Elija la que se va a actualizar:"},
    {TXT_SERIAL, L"número de serie"},
    {TXT_PRINTER, L"Impresora:"},
    {TXT_FIRMWARE, L"Firmware:"},
    {TXT_BYTES, L"bytes"},
    {TXT_TIME_LEFT, L"Tiempo restante:"},
    {TXT_FOLLOW_WAITING,
     L"Esperando a que la impresora se reinicie con el nuevo firmware. No apague la impresora. "
     L"Tiempo de espera:"},
    {TXT_FOLLOW_CURRENT, L"La impresora se ha reiniciado y funciona con el nuevo firmware:"},
    {TXT_FOLLOW_NOT_TAKEN,
     L"La impresora se ha reiniciado, pero no ha aplicado el nuevo firmware. Funciona con la "
     L"versión:"},
    {TXT_FOLLOW_NOT_BACK,
     L"La impresora no ha vuelto a conectarse en 10 minutos. Puede que aún esté instalando el "
     L"firmware: no apague la impresora y compruebe su panel de control antes de usarla."},
    {TXT_FOLLOW_UNKNOWN,
     L"Dos impresoras conectadas tienen el identificador de esta impresora, por lo que no se "
     L"puede leer el firmware que ejecuta ahora. Compruebe la versión en el panel de control de "
     L"la impresora."},
    {TXT_PRINTERS_ATTACHED, L"Impresoras conectadas:"},
}};
static_assert(IsWellFormed(kSpanishTexts));

}  // namespace

std::span<const LangTextEntry> SpanishTexts() {
    return kSpanishTexts;
}

}  // namespace fwup
