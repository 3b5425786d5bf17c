#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// Hebrew speaks to the user in the impersonal "יש ל..." and "אין ל..." of Hebrew manuals, which
// needs no choice of grammatical gender. Texts are stored in logical order; the window lays them
// out right to left. The face is one Windows has with Hebrew letters; the Chinese one has none.
constexpr std::array<LangTextEntry, 44> kHebrewTexts{{
    {TXT_TITLE, L"כלי עדכון הקושחה של Viruzu"},
    {TXT_RETRY_OR_CONTACT,
     L"כדי לעדכן שוב יש להפעיל מחדש את המדפסת, או לפנות לשירות הלקוחות של Viruzu."},
    {TXT_NOTICE_HANDS_OFF, L"חשוב: במהלך העדכון אין לבצע שום פעולה במדפסת או במחשב."},
    {TXT_RESTART_PRINTER, L"יש להפעיל מחדש את המדפסת."},
    {TXT_CONFIRM_ON_PRINTER,
     L"המדפסת מוכנה לעדכון. יש לאשר שוב במדפסת:\r\n"
     L"1. כדי לאשר את העדכון, יש ללחוץ על הלחצן \"התחלה\" (\"Start\");\r\n"
     L"2. כדי לבטל את משימת העדכון, יש ללחוץ על הלחצן \"ביטול\" (\"Cancel\")."},
    {TXT_NOT_READY,
     L"אם המדפסת אינה מוכנה, יש להעביר אותה למצב מוכן או למצב שינה ולהפעיל שוב את כלי העדכון."},
    {TXT_NOT_CONNECTED, L"אם מדפסת Viruzu אינה מחוברת, יש לבדוק שכבל ה-USB מחובר כראוי."},
    {TXT_UPGRADING, L"הקושחה מתעדכנת, נא להמתין\u2026"},
    {TXT_TRANSMITTING, L"הנתונים מועברים, נא להמתין\u2026"},
    {TXT_SUCCEEDED, L"עדכון הקושחה הושלם בהצלחה."},
    {TXT_FAILED, L"עדכון הקושחה נכשל."},
    {TXT_VERSION_HIGHER, L"גרסת הקושחה שבמדפסת חדשה יותר מהגרסה שאליה מעדכנים."},
    {TXT_VERSION_SAME, L"גרסת הקושחה שבמדפסת זהה לגרסה שאליה מעדכנים."},
    {TXT_CANCELED, L"משימת העדכון בוטלה."},
    {TXT_STEPS,
     L"חשוב: אין לכבות את המדפסת או את המחשב במהלך העדכון.\r\n"
     L"\r\n"
     L"\r\n"
     L"שלבי העדכון:\r\n"
     L"\r\n"
     L"1. יש להדליק את המדפסת ולהעביר אותה למצב מוכן או למצב שינה;\r\n"
     L"2. יש לחבר את המדפסת למחשב בכבל USB.\r\n"},
    {TXT_TIPS,
     L"הערות:\r\n"
     L"1. כלי העדכון מעדכן בכל פעם מדפסת Viruzu מחוברת אחת בלבד.\r\n"
     L"2. סדרות המדפסות שגרסה זו של כלי העדכון תומכת בהן:\r\n"},
    {TXT_COMPLETE, L"סיום"},
    {TXT_START, L"התחלת העדכון"},
    {TXT_EXIT, L"יציאה"},
    {TXT_FONT_FACE, L"Tahoma"},
    {TXT_CLOSE_ITEM, L"&סגירה"},
    {TXT_NEW_DRIVER,
     L"לאחר עדכון הקושחה יש להשתמש במדפסת עם מנהל ההתקן החדש. פרטים נוספים נמצאים במדריך "
     L"ההפעלה של כלי העדכון."},
    {TXT_PORT_OCCUPIED, L"יציאת המדפסת תפוסה, ולכן לא ניתן לעדכן את הקושחה."},
    {TXT_CONFIRM, L"אישור"},
    {TXT_YES, L"כן"},
    {TXT_NO, L"לא"},
    {TXT_FW_UNRECOGNIZED, L"לא ניתן לזהות את הקושחה שבמדפסת. יש לפנות לשירות הלקוחות של Viruzu."},
    {TXT_KEEP_POWER_ON, L"אין לכבות את המדפסת עד לסיום העדכון."},
    {TXT_PRINTER_IN_USE, L"עדכון אחר כבר פועל במדפסת זו. יש להמתין לסיומו ולנסות שוב."},
    {TXT_LOW_BATTERY, L"הסוללה של המחשב כמעט ריקה. יש לחבר את המחשב לחשמל ולנסות שוב."},
    {TXT_PRINTERS_NONE, L"אין מדפסת נתמכת מחוברת. יש להדליק את המדפסת ולחבר אותה למחשב בכבל USB."},
    {TXT_PRINTER_CHOSEN, L"מדפסת לעדכון:"},
    {TXT_PRINTERS_CHOOSE, L"מחוברות כמה מדפסות. יש לבחור את המדפסת לעדכון:"},
    {TXT_SERIAL, L"מספר סידורי"},
    {TXT_PRINTER, L"מדפסת:"},
    {TXT_FIRMWARE, L"קושחה:"},
    {TXT_BYTES, L"בתים"},
    {TXT_TIME_LEFT, L"זמן נותר:"},
    {TXT_FOLLOW_WAITING,
     L"המתנה להפעלה מחדש של המדפסת עם הקושחה החדשה. אין לכבות את המדפסת. זמן המתנה:"},
    {TXT_FOLLOW_CURRENT, L"המדפסת הופעלה מחדש ופועלת עם הקושחה החדשה:"},
    {TXT_FOLLOW_NOT_TAKEN, L"המדפסת הופעלה מחדש, אך הקושחה החדשה לא הותקנה בה. היא פועלת בגרסה:"},
    {TXT_FOLLOW_NOT_BACK,
     L"המדפסת לא התחברה מחדש תוך 10 דקות. ייתכן שהיא עדיין מתקינה את הקושחה: אין לכבות את "
     L"המדפסת, ויש לבדוק את לוח הבקרה שלה לפני השימוש בה."},
    {TXT_FOLLOW_UNKNOWN,
     L"שתי מדפסות מחוברות נושאות את המזהה של מדפסת זו, ולכן לא ניתן לקרוא את הקושחה שפועלת בה "
     L"כעת. יש לבדוק את הגרסה בלוח הבקרה של המדפסת."},
    {TXT_PRINTERS_ATTACHED, L"מדפסות מחוברות:"},
}};
static_assert(IsWellFormed(kHebrewTexts));

}  // namespace

std::span<const LangTextEntry> HebrewTexts() {
    return kHebrewTexts;
}

}  // namespace fwup
