#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// Portuguese follows Brazilian usage ("conectar", "entre em contato"), where most of its users
// are; the spelling is that of the 1990 agreement, shared with Portugal.
constexpr std::array<LangTextEntry, 44> kPortugueseTexts{{
    {TXT_TITLE, L"Ferramenta de atualização de firmware Viruzu"},
    {TXT_RETRY_OR_CONTACT,
     L"Reinicie a impressora para tentar a atualização novamente ou entre em contato com o "
     L"atendimento ao cliente da Viruzu."},
    {TXT_NOTICE_HANDS_OFF,
     L"Aviso: durante a atualização, não faça nenhuma operação na impressora nem no "
     L"computador."},
    {TXT_RESTART_PRINTER, L"Reinicie a impressora."},
    {TXT_CONFIRM_ON_PRINTER,
     L"A impressora está pronta para a atualização. Confirme novamente na impressora:\r\n"
     L"1. Pressione o botão “Iniciar” (“Start”) para confirmar a atualização;\r\n"
     L"2. Pressione o botão “Cancelar” (“Cancel”) para cancelar a atualização."},
    {TXT_NOT_READY,
     L"Se a impressora não estiver pronta, deixe-a pronta ou em modo de repouso e execute a "
     L"ferramenta de atualização novamente."},
    {TXT_NOT_CONNECTED,
     L"Se a impressora Viruzu não estiver conectada, verifique se o cabo USB está bem "
     L"encaixado."},
    {TXT_UPGRADING, L"Atualizando o firmware, aguarde\u2026"},
    {TXT_TRANSMITTING, L"Transferindo os dados, aguarde\u2026"},
    {TXT_SUCCEEDED, L"O firmware foi atualizado com sucesso."},
    {TXT_FAILED, L"Falha na atualização do firmware."},
    {TXT_VERSION_HIGHER,
     L"A versão do firmware da impressora é mais recente que a versão a ser instalada."},
    {TXT_VERSION_SAME, L"A versão do firmware da impressora é igual à versão a ser instalada."},
    {TXT_CANCELED, L"A atualização foi cancelada."},
    {TXT_STEPS,
     L"Aviso: não desligue a impressora nem o computador durante a atualização.\r\n"
     L"\r\n"
     L"\r\n"
     L"Etapas da atualização:\r\n"
     L"\r\n"
     L"1. Ligue a impressora e deixe-a pronta ou em modo de repouso;\r\n"
     L"2. Conecte a impressora ao computador com um cabo USB.\r\n"},
    {TXT_TIPS,
     L"Observações:\r\n"
     L"1. Esta ferramenta atualiza apenas uma impressora Viruzu por vez.\r\n"
     L"2. Séries de impressoras compatíveis com esta versão da ferramenta:\r\n"},
    {TXT_COMPLETE, L"Concluir"},
    {TXT_START, L"Iniciar atualização"},
    {TXT_EXIT, L"Sair"},
    {TXT_FONT_FACE, L"Times New Roman"},
    {TXT_CLOSE_ITEM, L"&Fechar"},
    {TXT_NEW_DRIVER,
     L"Após a atualização do firmware, a impressora deve ser usada com o novo driver. Consulte o "
     L"guia de uso da ferramenta de atualização."},
    {TXT_PORT_OCCUPIED,
     L"A porta da impressora está ocupada. Não é possível atualizar o firmware."},
    {TXT_CONFIRM, L"OK"},
    {TXT_YES, L"Sim"},
    {TXT_NO, L"Não"},
    {TXT_FW_UNRECOGNIZED,
     L"Não foi possível reconhecer o firmware da impressora. Entre em contato com o atendimento "
     L"ao cliente da Viruzu."},
    {TXT_KEEP_POWER_ON, L"Não desligue a impressora até o fim da atualização."},
    {TXT_PRINTER_IN_USE,
     L"Outra atualização já está em andamento nesta impressora. Aguarde o término e tente "
     L"novamente."},
    {TXT_LOW_BATTERY,
     L"A bateria do computador está quase esgotada. Conecte o computador à tomada e tente "
     L"novamente."},
    {TXT_PRINTERS_NONE,
     L"Nenhuma impressora compatível está conectada. Ligue a impressora e conecte-a ao computador "
     L"com um cabo USB."},
    {TXT_PRINTER_CHOSEN, L"Impressora a ser atualizada:"},
    {TXT_PRINTERS_CHOOSE,
     L"Há várias impressoras conectadas. Escolha a impressora a ser atualizada:"},
    {TXT_SERIAL, L"número de série"},
    {TXT_PRINTER, L"Impressora:"},
    {TXT_FIRMWARE, L"Firmware:"},
    {TXT_BYTES, L"bytes"},
    {TXT_TIME_LEFT, L"Tempo restante:"},
    {TXT_FOLLOW_WAITING,
     L"Aguardando a impressora reiniciar com o novo firmware. Não desligue a impressora. Tempo "
     L"de espera:"},
    {TXT_FOLLOW_CURRENT, L"A impressora foi reiniciada e está executando o novo firmware:"},
    {TXT_FOLLOW_NOT_TAKEN,
     L"A impressora foi reiniciada, mas não aplicou o novo firmware. Ela está executando a "
     L"versão:"},
    {TXT_FOLLOW_NOT_BACK,
     L"A impressora não voltou a se conectar em 10 minutos. Ela ainda pode estar instalando o "
     L"firmware: não desligue a impressora e verifique o painel dela antes de usá-la."},
    {TXT_FOLLOW_UNKNOWN,
     L"Duas impressoras conectadas têm o ID desta impressora, por isso não é possível ler o "
     L"firmware que ela executa agora. Verifique a versão no painel da impressora."},
    {TXT_PRINTERS_ATTACHED, L"Impressoras conectadas:"},
}};
static_assert(IsWellFormed(kPortugueseTexts));

}  // namespace

std::span<const LangTextEntry> PortugueseTexts() {
    return kPortugueseTexts;
}

}  // namespace fwup
