#pragma once

#include <QLabel>
#include <QPushButton>
#include <QRawFont>
#include <QString>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <QWidget>
#include <string>
#include <utility>

#include "text/lang_text.h"
#include "text/languages.h"

namespace fwup::testing {

// One row per language in the table of languages; every other language shows the English texts.
inline void AddLanguageRows() {
    QTest::addColumn<int>("language");
    for (const Language& language : Languages()) {
        QTest::newRow(std::string(language.englishName).c_str()) << int{language.id};
    }
}

// What keeps the text of `control` from showing whole, or an empty string: a word cut off, a line
// below its bottom edge, lines scrolled out of an edit box, or a letter its font cannot draw.
// `ownFace` asks for the control's own face to carry every letter, as the faces texts name must;
// otherwise letters may come from the faces the system adds, as Windows adds faces to its dialog
// font.
inline QString WhatDoesNotFit(QWidget* control, bool ownFace) {
    QString text;
    bool fits = true;
    QString needs;
    if (auto* label = qobject_cast<QLabel*>(control); label != nullptr) {
        text = label->text();
        const int height = label->heightForWidth(label->width());
        fits = text.isEmpty() || height <= label->height();
        needs = QStringLiteral(" (needs %1 px of %2)").arg(height).arg(label->height());
    } else if (auto* button = qobject_cast<QPushButton*>(control); button != nullptr) {
        text = button->text();
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect room =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        fits = button->fontMetrics().horizontalAdvance(text) <= room.width();
    } else if (auto* edit = qobject_cast<QTextEdit*>(control); edit != nullptr) {
        text = edit->toPlainText();
        fits = edit->document()->size().height() <= edit->viewport()->height();
    }
    if (!fits) {
        return QStringLiteral("\"%1\" does not fit its control%2").arg(text, needs);
    }
    const QRawFont face = QRawFont::fromFont(control->font());
    for (const QChar c : std::as_const(text)) {
        if (c.isPrint() && !c.isSpace() &&
            !(ownFace ? face.supportsCharacter(c) : control->fontMetrics().inFont(c))) {
            return QStringLiteral("%1 lacks U+%2 of \"%3\"")
                .arg(face.familyName())
                .arg(c.unicode(), 4, 16, QLatin1Char('0'))
                .arg(text);
        }
    }
    return {};
}

}  // namespace fwup::testing
