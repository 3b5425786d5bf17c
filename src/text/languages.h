#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "text/lang_tables.h"

namespace fwup {

// The script a language is written in, for a toolkit that picks faces by the letters they carry.
enum class Script {
    kLatin,
    kCyrillic,
    kHebrew,
    kSimplifiedChinese,
    kTraditionalChinese,
    kJapanese,
    kKorean,
    kArabic,
    kGreek,
    kVietnamese
};

// A place in the main window, in window pixels.
struct WindowPlace {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Where the idle look puts the tips box, the notice and the Start button: translations differ in
// length, so each language has places of its own.
struct IdleLayout {
    WindowPlace tips;
    WindowPlace notice;
    WindowPlace start;
};

// Everything that differs from one language of the user interface to the next, besides its texts.
// A language joins by a file of its texts (text/<language>_texts.cpp) and a row in languages.cpp.
struct Language {
    std::uint16_t id = 0;  // the primary language id UiLangId holds
    std::string_view englishName = {};
    // The ISO 639-1 code of POSIX locale names, and an older one where that is still in use.
    std::string_view localeCode = {};
    std::string_view olderLocaleCode = {};
    // Where two rows share a language (Chinese), what picks one of them: the scripts and
    // territories of a locale name ("Hant" of zh-Hant-HK, "TW" of zh_TW), and the sub-language ids
    // of a Windows language identifier. The first row of a language is the one for the others.
    std::array<std::string_view, 4> localeVariants = {};
    std::array<std::uint8_t, 4> windowsSubLanguages = {};
    std::span<const LangTextEntry> (*texts)() = nullptr;
    // What the window title carries after its own text while the printers are simulated. Kept
    // beside the text table rather than in it: the tables are addressed by position, and this
    // text is no id of theirs.
    std::wstring_view simulatedPrintersTitleSuffix = {};
    // Folded yes words besides "y" and "yes": the window's Yes button and the short forms a
    // terminal user types. Single letters only where the language's No does not begin with them.
    std::array<std::wstring_view, 2> yesWords = {};
    bool rightToLeft = false;
    IdleLayout idleLayout = {};
    Script script = Script::kLatin;
};

// Every language with texts of its own, English first.
std::span<const Language> Languages();

// A short name of a row for file names and pictures: its locale code, and where an earlier row has
// the same code, its first variant as well ("zh-Hant").
std::string LanguageTag(const Language& language);

// The row of a language id (what UiLangId holds); English for a language without one.
const Language& LanguageFor(std::uint16_t primaryLangId);

// The row of the language UiLangId selects now.
const Language& CurrentLanguage();

// The language id of a Windows language identifier: the row of its primary language and
// sub-language (zh-TW is Traditional Chinese), or its primary language id where no row has it.
std::uint16_t LanguageOfWindowsLangId(std::uint16_t windowsLangId);

}  // namespace fwup
