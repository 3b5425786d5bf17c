#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace fwup {

// Every text the user sees, addressed by the same id in every language's table.
enum TextId : int {
    TXT_TITLE = 0,
    TXT_RETRY_OR_CONTACT = 1,
    TXT_NOTICE_HANDS_OFF = 2,
    TXT_RESTART_PRINTER = 3,
    TXT_CONFIRM_ON_PRINTER = 4,
    TXT_NOT_READY = 5,
    TXT_NOT_CONNECTED = 6,
    TXT_UPGRADING = 7,
    TXT_TRANSMITTING = 8,
    TXT_SUCCEEDED = 9,
    TXT_FAILED = 10,
    TXT_VERSION_HIGHER = 11,
    TXT_VERSION_SAME = 12,
    TXT_CANCELED = 13,
    TXT_STEPS = 14,
    TXT_TIPS = 15,
    TXT_COMPLETE = 16,
    TXT_START = 17,
    TXT_EXIT = 18,
    TXT_FONT_FACE = 19,
    TXT_CLOSE_ITEM = 20,
    TXT_NEW_DRIVER = 21,
    TXT_PORT_OCCUPIED = 22,
    TXT_CONFIRM = 23,
    TXT_YES = 24,
    TXT_NO = 25,
    TXT_FW_UNRECOGNIZED = 26,
    TXT_KEEP_POWER_ON = 27,
    TXT_PRINTER_IN_USE = 28,
    TXT_LOW_BATTERY = 29,
    // The printer list, the transfer's figures and the wait for the printer after the transfer.
    // A text that ends in a colon is followed by a value: " " and the value, on the same line.
    TXT_PRINTERS_NONE = 30,
    TXT_PRINTER_CHOSEN = 31,
    TXT_PRINTERS_CHOOSE = 32,
    TXT_SERIAL = 33,
    TXT_PRINTER = 34,
    TXT_FIRMWARE = 35,
    TXT_BYTES = 36,
    TXT_TIME_LEFT = 37,
    TXT_FOLLOW_WAITING = 38,
    TXT_FOLLOW_CURRENT = 39,
    TXT_FOLLOW_NOT_TAKEN = 40,
    TXT_FOLLOW_NOT_BACK = 41,
    TXT_FOLLOW_UNKNOWN = 42,
    TXT_PRINTERS_ATTACHED = 43
};

// Primary language ids: the low 10 bits of a Windows language identifier. <windows.h> defines the
// same names with the same values as macros; where it came first its macros stand in, so Windows
// code spells these names without the namespace. Chinese is one primary language written two ways:
// LANG_CHINESE stands for Simplified, and Traditional has the id Windows gives it, whose low 10
// bits are Chinese's too.
#ifndef LANG_ARABIC
inline constexpr std::uint16_t LANG_ARABIC = 0x01;
#endif
#ifndef LANG_CHINESE
inline constexpr std::uint16_t LANG_CHINESE = 0x04;
#endif
#ifndef LANG_CZECH
inline constexpr std::uint16_t LANG_CZECH = 0x05;
#endif
#ifndef LANG_GERMAN
inline constexpr std::uint16_t LANG_GERMAN = 0x07;
#endif
#ifndef LANG_GREEK
inline constexpr std::uint16_t LANG_GREEK = 0x08;
#endif
#ifndef LANG_ENGLISH
inline constexpr std::uint16_t LANG_ENGLISH = 0x09;
#endif
#ifndef LANG_SPANISH
inline constexpr std::uint16_t LANG_SPANISH = 0x0A;
#endif
#ifndef LANG_FRENCH
inline constexpr std::uint16_t LANG_FRENCH = 0x0C;
#endif
#ifndef LANG_HEBREW
inline constexpr std::uint16_t LANG_HEBREW = 0x0D;
#endif
#ifndef LANG_HUNGARIAN
inline constexpr std::uint16_t LANG_HUNGARIAN = 0x0E;
#endif
#ifndef LANG_ITALIAN
inline constexpr std::uint16_t LANG_ITALIAN = 0x10;
#endif
#ifndef LANG_JAPANESE
inline constexpr std::uint16_t LANG_JAPANESE = 0x11;
#endif
#ifndef LANG_KOREAN
inline constexpr std::uint16_t LANG_KOREAN = 0x12;
#endif
#ifndef LANG_DUTCH
inline constexpr std::uint16_t LANG_DUTCH = 0x13;
#endif
#ifndef LANG_POLISH
inline constexpr std::uint16_t LANG_POLISH = 0x15;
#endif
#ifndef LANG_PORTUGUESE
inline constexpr std::uint16_t LANG_PORTUGUESE = 0x16;
#endif
#ifndef LANG_ROMANIAN
inline constexpr std::uint16_t LANG_ROMANIAN = 0x18;
#endif
#ifndef LANG_RUSSIAN
inline constexpr std::uint16_t LANG_RUSSIAN = 0x19;
#endif
#ifndef LANG_SWEDISH
inline constexpr std::uint16_t LANG_SWEDISH = 0x1D;
#endif
#ifndef LANG_TURKISH
inline constexpr std::uint16_t LANG_TURKISH = 0x1F;
#endif
#ifndef LANG_INDONESIAN
inline constexpr std::uint16_t LANG_INDONESIAN = 0x21;
#endif
#ifndef LANG_UKRAINIAN
inline constexpr std::uint16_t LANG_UKRAINIAN = 0x22;
#endif
#ifndef LANG_VIETNAMESE
inline constexpr std::uint16_t LANG_VIETNAMESE = 0x2A;
#endif
#ifndef LANG_CHINESE_TRADITIONAL
inline constexpr std::uint16_t LANG_CHINESE_TRADITIONAL = 0x7C04;
#endif

// The user's language id (LANG_CHINESE_TRADITIONAL or a primary language id), 0 until
// SelectUiLanguage runs. Every language in the table of
// languages (text/languages.h) has texts of its own; every other value, 0 among them, gives the
// English texts.
extern std::atomic<std::uint16_t> UiLangId;

// Asks the platform for the user's interface language and stores its id in UiLangId.
void SelectUiLanguage();

// A copy of text `id` in the table UiLangId selects now; English where that table ends before
// the id, and an empty text for an id no table holds.
// A label text of the table ("Printer:", "打印机：") and its value, as one text: a space between
// them, except after a full-width colon, which carries its own.
std::wstring LabelAndValue(int labelId, std::wstring_view value);

std::wstring GetLangText(int id);

// The language id of a POSIX locale name or BCP 47 tag such as "it_IT.UTF-8", "zh_TW" or
// "zh-Hant-HK": its language code (before '_', '.', '@', '-' or ':'), without regard to case, and
// where two rows share the code, the first script or territory after it that one of them names.
// Every language with a table (Hebrew as "he" or the old "iw") and English give their ids; any
// other language, and "C", "POSIX" or an empty name, give LANG_ENGLISH, as English is what such a
// user sees anyway.
std::uint16_t LanguageOfLocale(std::string_view localeName);

}  // namespace fwup
