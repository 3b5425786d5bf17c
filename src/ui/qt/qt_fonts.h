#pragma once

#include <QFont>
#include <QFontDatabase>
#include <cstdint>

#include "ui/dialog_surface.h"
#include "ui/dialog_templates.h"

namespace fwup {

// Logical pixels per inch: window layouts are given in pixels of a 96 DPI screen, and Qt scales
// logical pixels for the actual screen.
inline constexpr int kLogicalDpi = 96;

// The script the user interface's texts are written in, for choosing a face that carries it.
QFontDatabase::WritingSystem WritingSystemForLanguage(std::uint16_t primaryLangId);

// The dialog font of a template. Its face ("MS Shell Dlg", a Windows alias) is replaced by the
// system's sans face, at the template's point size on a 96 DPI screen.
QFont TemplateFont(const DialogTemplate& dialog, QFontDatabase::WritingSystem script);

// A font from a description. A face this system lacks is replaced by a stand-in where one is
// installed (Liberation Serif for Times New Roman, a CJK face for "宋体" in Chinese), otherwise by
// the sans face, in both cases one that carries `script`. Sizes are pixel sizes, so that the text
// fits the pixel layout whatever DPI the screen reports: points as on a 96 DPI screen, and a height
// as the full character cell, as Windows reads a positive font height.
QFont FontFromDesc(const FontDesc& desc, QFontDatabase::WritingSystem script);

}  // namespace fwup
