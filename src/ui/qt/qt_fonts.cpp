#include "ui/qt/qt_fonts.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QString>
#include <QStringList>
#include <algorithm>

#include "text/languages.h"

namespace fwup {
namespace {

// Faces that stand in for Windows faces Linux lacks. Times New Roman has metric-compatible ones,
// so texts wrap where they would on Windows; Tahoma has none, and DejaVu Sans comes of the same
// design family. "宋体" gets Song faces first, then the sans ones of Chinese systems, but only for
// Chinese texts: the Latin-script tables name it too and keep the system's sans face.
QStringList StandInsFor(const QString& face, QFontDatabase::WritingSystem script) {
    if (face.compare(QLatin1String("Times New Roman"), Qt::CaseInsensitive) == 0) {
        return {QStringLiteral("Liberation Serif"), QStringLiteral("Tinos"),
                QStringLiteral("Nimbus Roman")};
    }
    if (face.compare(QLatin1String("Tahoma"), Qt::CaseInsensitive) == 0) {
        return {QStringLiteral("DejaVu Sans")};
    }
    if (face == QStringLiteral("宋体") && script == QFontDatabase::SimplifiedChinese) {
        return {QStringLiteral("AR PL UMing CN"),      QStringLiteral("Noto Serif CJK SC"),
                QStringLiteral("Source Han Serif SC"), QStringLiteral("WenQuanYi Micro Hei"),
                QStringLiteral("WenQuanYi Zen Hei"),   QStringLiteral("Noto Sans CJK SC")};
    }
    return {};
}

bool Carries(const QString& family, QFontDatabase::WritingSystem script) {
    return QFontDatabase::writingSystems(family).contains(script);
}

QString SansFamily(QFontDatabase::WritingSystem script) {
    QFont probe(QStringLiteral("Sans Serif"));
    probe.setStyleHint(QFont::SansSerif);
    const QString preferred = QFontInfo(probe).family();
    if (Carries(preferred, script)) {
        return preferred;
    }
    const QStringList carrying = QFontDatabase::families(script);
    for (const QString& family : carrying) {
        if (!QFontDatabase::isFixedPitch(family)) {
            return family;
        }
    }
    // Chinese faces give Latin letters half the width of a Chinese character, which Qt takes for
    // a fixed pitch: such a face still draws the texts better than a fallback glyph by glyph.
    if (!carrying.isEmpty()) {
        return carrying.front();
    }
    // Nothing carries the script: Qt's per-glyph fallback is the last resort.
    return preferred;
}

QString ResolveFace(const QString& face, QFontDatabase::WritingSystem script) {
    if (!face.isEmpty() && QFontDatabase::hasFamily(face) && Carries(face, script)) {
        return face;
    }
    for (const QString& standIn : StandInsFor(face, script)) {
        if (QFontDatabase::hasFamily(standIn) && Carries(standIn, script)) {
            return standIn;
        }
    }
    return SansFamily(script);
}

int PointsTenthsToPixels(int pointTenths) {
    return std::max(1, (pointTenths * kLogicalDpi + 360) / 720);
}

// The largest pixel size whose character cell fits `height`.
void FitCellHeight(QFont& font, int height) {
    int size = std::max(1, height);
    font.setPixelSize(size);
    while (size > 1 && QFontMetrics(font).height() > height) {
        font.setPixelSize(--size);
    }
}

}  // namespace

QFontDatabase::WritingSystem WritingSystemForLanguage(std::uint16_t primaryLangId) {
    switch (LanguageFor(primaryLangId).script) {
        case Script::kCyrillic:
            return QFontDatabase::Cyrillic;
        case Script::kHebrew:
            return QFontDatabase::Hebrew;
        case Script::kSimplifiedChinese:
            return QFontDatabase::SimplifiedChinese;
        case Script::kLatin:
            break;
    }
    return QFontDatabase::Latin;
}

QFont TemplateFont(const DialogTemplate& dialog, QFontDatabase::WritingSystem script) {
    QFont font(SansFamily(script));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(PointsTenthsToPixels(dialog.fontPoints * 10));
    return font;
}

QFont FontFromDesc(const FontDesc& desc, QFontDatabase::WritingSystem script) {
    QFont font(ResolveFace(QString::fromStdWString(desc.face), script));
    if (desc.family == FontDesc::Family::kSwiss) {
        font.setStyleHint(QFont::SansSerif);
    }
    if (desc.weight != 0) {
        // Qt 6 weights share the 1 to 1000 scale of a Windows font weight.
        font.setWeight(static_cast<QFont::Weight>(std::clamp(desc.weight, 1, 1000)));
    }
    if (desc.height > 0) {
        FitCellHeight(font, desc.height);
    } else {
        font.setPixelSize(PointsTenthsToPixels(desc.pointTenths > 0 ? desc.pointTenths : 90));
    }
    return font;
}

}  // namespace fwup
