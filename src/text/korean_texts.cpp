#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// Korean asks in the formal polite "-십시오" of Korean Windows messages and says "펌웨어" and
// "업그레이드", as Korean printer manuals do. Punctuation and the label colon are ASCII, as Korean
// software writes them; the printer's keys stand in ASCII double quotes with the English name
// the panel shows after them.
constexpr std::array<LangTextEntry, 44> kKoreanTexts{{
    {TXT_TITLE, L"Viruzu 펌웨어 업그레이드 도구"},
    {TXT_RETRY_OR_CONTACT,
     L"프린터를 다시 시작하여 업그레이드를 다시 시도하거나 Viruzu 고객 지원 센터에 "
     L"문의하십시오."},
    {TXT_NOTICE_HANDS_OFF, L"주의: 업그레이드 중에는 프린터와 컴퓨터를 조작하지 마십시오."},
    {TXT_RESTART_PRINTER, L"프린터를 다시 시작하십시오."},
    {TXT_CONFIRM_ON_PRINTER,
     L"프린터가 업그레이드할 준비가 되었습니다. 프린터에서 다시 한 번 확인하십시오.\r\n"
     L"1. 업그레이드를 진행하려면 \"시작\"(Start) 버튼을 누르십시오.\r\n"
     L"2. 업그레이드를 취소하려면 \"취소\"(Cancel) 버튼을 누르십시오."},
    {TXT_NOT_READY,
     L"프린터가 준비되지 않은 경우 프린터를 준비 상태 또는 절전 모드로 전환한 후 업그레이드 "
     L"도구를 다시 실행하십시오."},
    {TXT_NOT_CONNECTED,
     L"Viruzu 프린터가 연결되지 않은 경우 USB 케이블이 제대로 연결되어 있는지 확인하십시오."},
    {TXT_UPGRADING, L"펌웨어 업그레이드 중입니다. 잠시 기다려 주십시오\u2026"},
    {TXT_TRANSMITTING, L"데이터 전송 중입니다. 잠시 기다려 주십시오\u2026"},
    {TXT_SUCCEEDED, L"펌웨어 업그레이드에 성공했습니다."},
    {TXT_FAILED, L"펌웨어 업그레이드에 실패했습니다."},
    {TXT_VERSION_HIGHER, L"프린터의 현재 펌웨어 버전이 업그레이드할 버전보다 높습니다."},
    {TXT_VERSION_SAME, L"프린터의 현재 펌웨어 버전이 업그레이드할 버전과 같습니다."},
    {TXT_CANCELED, L"업그레이드 작업이 취소되었습니다."},
    {TXT_STEPS,
     L"주의: 업그레이드 중에는 프린터와 컴퓨터의 전원을 끄지 마십시오.\r\n"
     L"\r\n"
     L"\r\n"
     L"업그레이드 절차:\r\n"
     L"\r\n"
     L"1. 프린터의 전원을 켜고 준비 상태 또는 절전 모드로 설정하십시오.\r\n"
     L"2. USB 케이블로 프린터와 컴퓨터를 연결하십시오.\r\n"},
    {TXT_TIPS,
     L"참고:\r\n"
     L"1. 이 업그레이드 도구는 연결된 Viruzu 프린터를 한 번에 한 대만 업그레이드할 수 "
     L"있습니다.\r\n"
     L"2. 이 버전의 업그레이드 도구가 지원하는 프린터 시리즈:\r\n"},
    {TXT_COMPLETE, L"완료"},
    {TXT_START, L"업그레이드 시작"},
    {TXT_EXIT, L"종료"},
    {TXT_FONT_FACE, L"Malgun Gothic"},
    {TXT_CLOSE_ITEM, L"닫기(&C)"},
    {TXT_NEW_DRIVER,
     L"펌웨어 업그레이드 후에는 새 드라이버로 프린터를 사용해야 합니다. 자세한 내용은 "
     L"업그레이드 도구 사용 설명서를 참조하십시오."},
    {TXT_PORT_OCCUPIED, L"프린터 포트가 사용 중이므로 펌웨어를 업그레이드할 수 없습니다."},
    {TXT_CONFIRM, L"확인"},
    {TXT_YES, L"예"},
    {TXT_NO, L"아니요"},
    {TXT_FW_UNRECOGNIZED,
     L"프린터의 펌웨어를 인식할 수 없습니다. Viruzu 고객 지원 센터에 문의하십시오."},
    {TXT_KEEP_POWER_ON, L"업그레이드가 완료될 때까지 프린터의 전원을 끄지 마십시오."},
    {TXT_PRINTER_IN_USE,
     L"이 프린터에서 다른 업그레이드가 진행 중입니다. 완료될 때까지 기다린 후 다시 "
     L"시도하십시오."},
    {TXT_LOW_BATTERY,
     L"컴퓨터의 배터리가 거의 방전되었습니다. 컴퓨터를 AC 전원에 연결한 후 다시 시도하십시오."},
    {TXT_PRINTERS_NONE,
     L"지원되는 프린터가 연결되어 있지 않습니다. 프린터의 전원을 켜고 USB 케이블로 컴퓨터에 "
     L"연결하십시오."},
    {TXT_PRINTER_CHOSEN, L"업그레이드할 프린터:"},
    {TXT_PRINTERS_CHOOSE, L"프린터가 여러 대 연결되어 있습니다. 업그레이드할 프린터 선택:"},
    {TXT_SERIAL, L"일련 번호"},
    {TXT_PRINTER, L"프린터:"},
    {TXT_FIRMWARE, L"펌웨어:"},
    {TXT_BYTES, L"바이트"},
    {TXT_TIME_LEFT, L"남은 시간:"},
    {TXT_FOLLOW_WAITING,
     L"프린터가 새 펌웨어로 다시 시작되기를 기다리는 중입니다. 전원을 끄지 마십시오. 경과 "
     L"시간:"},
    {TXT_FOLLOW_CURRENT, L"프린터가 다시 시작되었으며 새 펌웨어로 작동 중입니다:"},
    {TXT_FOLLOW_NOT_TAKEN,
     L"프린터가 다시 시작되었지만 새 펌웨어가 적용되지 않았습니다. 현재 버전:"},
    {TXT_FOLLOW_NOT_BACK,
     L"프린터가 10분 이내에 다시 연결되지 않았습니다. 아직 펌웨어를 기록하는 중일 수 있으니 "
     L"전원을 끄지 말고, 사용하기 전에 프린터의 제어판을 확인하십시오."},
    {TXT_FOLLOW_UNKNOWN,
     L"연결된 프린터 두 대가 이 프린터의 ID를 사용하고 있어 현재 작동 중인 펌웨어를 읽을 수 "
     L"없습니다. 프린터의 제어판에서 버전을 확인하십시오."},
    {TXT_PRINTERS_ATTACHED, L"연결된 프린터 수:"},
}};
static_assert(IsWellFormed(kKoreanTexts));

}  // namespace

std::span<const LangTextEntry> KoreanTexts() {
    return kKoreanTexts;
}

}  // namespace fwup
