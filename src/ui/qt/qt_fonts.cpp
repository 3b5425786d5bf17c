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
// design family. The Chinese, Japanese and Korean faces get their own region's forms of the shared
// characters first (Noto CJK's regional faces), and a face of any region after: "宋体" only for
// Chinese texts, as the Latin-script tables name it too and keep the system's sans face.
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
    if (face == QStringLiteral("新細明體") && script == QFontDatabase::TraditionalChinese) {
        return {QStringLiteral("AR PL UMing TW"), QStringLiteral("Noto Serif CJK TC"),
                QStringLiteral("Source Han Serif TC"), QStringLiteral("Noto Sans CJK TC"),
                QStringLiteral("WenQuanYi Micro Hei")};
    }
    if (face.compare(QLatin1String("Meiryo UI"), Qt::CaseInsensitive) == 0 &&
        script == QFontDatabase::Japanese) {
        return {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Source Han Sans JP"),
                QStringLiteral("IPAPGothic"), QStringLiteral("VL PGothic"),
                QStringLiteral("WenQuanYi Micro Hei")};
    }
    if (face.compare(QLatin1String("Malgun Gothic"), Qt::CaseInsensitive) == 0 &&
        script == QFontDatabase::Korean) {
        return {QStringLiteral("Noto Sans CJK KR"), QStringLiteral("Source Han Sans KR"),
                QStringLiteral("NanumGothic"), QStringLiteral("UnDotum"),
                QStringLiteral("WenQuanYi Micro Hei")};
    }
    return {};
}

// The sans face of a region's forms, where the system has one, before any face of the script.
QStringList RegionalSansFor(QFontDatabase::WritingSystem script) {
    switch (script) {
        case QFontDatabase::SimplifiedChinese:
            return {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")};
        case QFontDatabase::TraditionalChinese:
            return {QStringLiteral("Noto Sans CJK TC"), QStringLiteral("WenQuanYi Micro Hei")};
        case QFontDatabase::Japanese:
            return {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAPGothic")};
        case QFontDatabase::Korean:
            return {QStringLiteral("Noto Sans CJK KR"), QStringLiteral("NanumGothic")};
        default:
            return {};
    }
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
    for (const QString& regional : RegionalSansFor(script)) {
        if (QFontDatabase::hasFamily(regional) && Carries(regional, script)) {
            return regional;
        }
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
        case Script::kTraditionalChinese:
            return QFontDatabase::TraditionalChinese;
        case Script::kJapanese:
            return QFontDatabase::Japanese;
        case Script::kKorean:
            return QFontDatabase::Korean;
        case Script::kArabic:
            return QFontDatabase::Arabic;
        case Script::kGreek:
            return QFontDatabase::Greek;
        case Script::kVietnamese:
            return QFontDatabase::Vietnamese;
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
