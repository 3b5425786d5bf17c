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
std::span<const LangTextEntry> TraditionalChineseTexts();
std::span<const LangTextEntry> JapaneseTexts();
std::span<const LangTextEntry> KoreanTexts();
std::span<const LangTextEntry> ArabicTexts();
std::span<const LangTextEntry> UkrainianTexts();
std::span<const LangTextEntry> CzechTexts();
std::span<const LangTextEntry> DutchTexts();
std::span<const LangTextEntry> SwedishTexts();
std::span<const LangTextEntry> HungarianTexts();
std::span<const LangTextEntry> GreekTexts();
std::span<const LangTextEntry> RomanianTexts();
std::span<const LangTextEntry> VietnameseTexts();
std::span<const LangTextEntry> IndonesianTexts();

}  // namespace fwup
