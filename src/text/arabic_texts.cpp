#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// Modern Standard Arabic as Arabic Windows and printer manuals write it: requests and warnings in
// the impersonal "يرجى" / "يرجى عدم", which needs no choice of gender; the steps on the printer in
// the imperative of printer manuals. "البرنامج الثابت" for firmware. Arabic comma and semicolon,
// guillemets around the printer's button names, Western digits for the list numbers at the start
// of their line. Texts are stored in logical order; the window lays them out right to left.
constexpr std::array<LangTextEntry, 44> kArabicTexts{{
    {TXT_TITLE, L"أداة Viruzu لتحديث البرنامج الثابت"},
    {TXT_RETRY_OR_CONTACT,
     L"يرجى إعادة تشغيل الطابعة لإعادة محاولة التحديث، أو الاتصال بخدمة عملاء Viruzu."},
    {TXT_NOTICE_HANDS_OFF,
     L"تنبيه: يرجى عدم إجراء أي عملية على الطابعة أو الكمبيوتر أثناء التحديث."},
    {TXT_RESTART_PRINTER, L"يرجى إعادة تشغيل الطابعة."},
    {TXT_CONFIRM_ON_PRINTER,
     L"الطابعة جاهزة للتحديث. يرجى التأكيد مرة أخرى على الطابعة:\r\n"
     L"1. لتأكيد التحديث، اضغط على الزر «بدء» («Start»)؛\r\n"
     L"2. لإلغاء مهمة التحديث، اضغط على الزر «إلغاء» («Cancel»)."},
    {TXT_NOT_READY,
     L"إذا لم تكن الطابعة جاهزة، فيرجى إعادتها إلى حالة الاستعداد أو وضع السكون، ثم تشغيل أداة "
     L"التحديث مرة أخرى."},
    {TXT_NOT_CONNECTED, L"إذا لم تكن طابعة Viruzu متصلة، فيرجى التحقق من توصيل كبل USB بشكل صحيح."},
    {TXT_UPGRADING, L"جارٍ تحديث البرنامج الثابت، يرجى الانتظار\u2026"},
    {TXT_TRANSMITTING, L"جارٍ نقل البيانات، يرجى الانتظار\u2026"},
    {TXT_SUCCEEDED, L"تم تحديث البرنامج الثابت بنجاح."},
    {TXT_FAILED, L"فشل تحديث البرنامج الثابت."},
    {TXT_VERSION_HIGHER,
     L"إصدار البرنامج الثابت الحالي في الطابعة أحدث من الإصدار المراد التحديث إليه."},
    {TXT_VERSION_SAME,
     L"إصدار البرنامج الثابت الحالي في الطابعة مطابق للإصدار المراد التحديث إليه."},
    {TXT_CANCELED, L"تم إلغاء مهمة التحديث."},
    {TXT_STEPS,
     L"تنبيه: يرجى عدم إيقاف تشغيل الطابعة أو الكمبيوتر أثناء التحديث.\r\n"
     L"\r\n"
     L"\r\n"
     L"خطوات التحديث:\r\n"
     L"\r\n"
     L"1. قم بتشغيل الطابعة، واضبطها على حالة الاستعداد أو وضع السكون؛\r\n"
     L"2. قم بتوصيل الطابعة بالكمبيوتر باستخدام كبل USB؛\r\n"},
    {TXT_TIPS,
     L"ملاحظات:\r\n"
     L"1. تقوم أداة التحديث بتحديث طابعة Viruzu واحدة متصلة فقط في كل مرة.\r\n"
     L"2. سلاسل الطابعات التي يدعمها هذا الإصدار من أداة التحديث:\r\n"},
    {TXT_COMPLETE, L"إنهاء"},
    {TXT_START, L"بدء التحديث"},
    {TXT_EXIT, L"خروج"},
    {TXT_FONT_FACE, L"Tahoma"},
    {TXT_CLOSE_ITEM, L"&إغلاق"},
    {TXT_NEW_DRIVER,
     L"بعد تحديث البرنامج الثابت، يجب استخدام الطابعة مع برنامج التشغيل الجديد. يرجى مراجعة "
     L"دليل تشغيل أداة التحديث."},
    {TXT_PORT_OCCUPIED, L"منفذ الطابعة مشغول، ولا يمكن تحديث البرنامج الثابت."},
    {TXT_CONFIRM, L"موافق"},
    {TXT_YES, L"نعم"},
    {TXT_NO, L"لا"},
    {TXT_FW_UNRECOGNIZED,
     L"تعذر التعرف على البرنامج الثابت في الطابعة. يرجى الاتصال بخدمة عملاء Viruzu."},
    {TXT_KEEP_POWER_ON, L"يرجى عدم إيقاف تشغيل الطابعة قبل اكتمال التحديث."},
    {TXT_PRINTER_IN_USE,
     L"هناك تحديث آخر قيد التنفيذ على هذه الطابعة. يرجى الانتظار حتى ينتهي، ثم المحاولة مرة "
     L"أخرى."},
    {TXT_LOW_BATTERY,
     L"بطارية الكمبيوتر على وشك النفاد. يرجى توصيل الكمبيوتر بالتيار الكهربائي، ثم المحاولة مرة "
     L"أخرى."},
    {TXT_PRINTERS_NONE,
     L"لا توجد طابعة مدعومة متصلة. يرجى تشغيل الطابعة وتوصيلها بالكمبيوتر باستخدام كبل USB."},
    {TXT_PRINTER_CHOSEN, L"الطابعة المراد تحديثها:"},
    {TXT_PRINTERS_CHOOSE, L"هناك عدة طابعات متصلة. يرجى اختيار الطابعة المراد تحديثها:"},
    {TXT_SERIAL, L"الرقم التسلسلي"},
    {TXT_PRINTER, L"الطابعة:"},
    {TXT_FIRMWARE, L"البرنامج الثابت:"},
    {TXT_BYTES, L"بايت"},
    {TXT_TIME_LEFT, L"الوقت المتبقي:"},
    {TXT_FOLLOW_WAITING,
     L"في انتظار إعادة تشغيل الطابعة بالبرنامج الثابت الجديد. يرجى عدم إيقاف تشغيل الطابعة. "
     L"مدة الانتظار:"},
    {TXT_FOLLOW_CURRENT, L"تمت إعادة تشغيل الطابعة، وهي تعمل بالبرنامج الثابت الجديد:"},
    {TXT_FOLLOW_NOT_TAKEN,
     L"تمت إعادة تشغيل الطابعة، لكن لم يتم تطبيق البرنامج الثابت الجديد. الإصدار الذي تعمل به:"},
    {TXT_FOLLOW_NOT_BACK,
     L"لم تعاود الطابعة الاتصال خلال 10 دقائق. ربما لا تزال تقوم بتثبيت البرنامج الثابت: يرجى "
     L"عدم إيقاف تشغيلها، والتحقق من لوحة التحكم الخاصة بها قبل استخدامها."},
    {TXT_FOLLOW_UNKNOWN,
     L"هناك طابعتان متصلتان تحملان معرف هذه الطابعة، لذا تتعذر قراءة البرنامج الثابت الذي تعمل "
     L"به الآن. يرجى التحقق من الإصدار على لوحة التحكم في الطابعة."},
    {TXT_PRINTERS_ATTACHED, L"الطابعات المتصلة:"},
}};
static_assert(IsWellFormed(kArabicTexts));

}  // namespace

std::span<const LangTextEntry> ArabicTexts() {
    return kArabicTexts;
}

}  // namespace fwup
