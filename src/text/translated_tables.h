#pragma once

#include <span>

#include "text/lang_tables.h"

namespace fwup {

// The tables written after the first four, one file each. Unlike Italian, Turkish and Russian they
// hold every id English has, the success message's first line included.
std::span<const LangTextEntry> HebrewTexts();
std::span<const LangTextEntry> ChineseTexts();
std::span<const LangTextEntry> GermanTexts();
std::span<const LangTextEntry> FrenchTexts();
std::span<const LangTextEntry> SpanishTexts();
std::span<const LangTextEntry> PortugueseTexts();
std::span<const LangTextEntry> PolishTexts();

}  // namespace fwup
