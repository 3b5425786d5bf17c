#pragma once

#include <string>

namespace fwup {

// What the window title carries after its own text while the printers are simulated, in the
// language UiLangId selects; English for a language without its own.
std::wstring SimulatedPrintersTitleSuffix();

}  // namespace fwup
