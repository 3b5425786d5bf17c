#pragma once

#include <span>

#include "text/lang_tables.h"

namespace fwup {

// Each language's texts, one file each (text/<language>_texts.cpp), every id in its place.
std::span<const LangTextEntry> EnglishTexts();
std::span<const LangTextEntry> ItalianTexts();
std::span<const LangTextEntry> TurkishTexts();
std::span<const LangTextEntry> RussianTexts();
std::span<const LangTextEntry> HebrewTexts();
std::span<const LangTextEntry> ChineseTexts();
std::span<const LangTextEntry> GermanTexts();
std::span<const LangTextEntry> FrenchTexts();
std::span<const LangTextEntry> SpanishTexts();
std::span<const LangTextEntry> PortugueseTexts();
std::span<const LangTextEntry> PolishTexts();

}  // namespace fwup
