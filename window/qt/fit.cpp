#include "window/qt/fit.h"

#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>
#include <cmath>

namespace window {

double captionRoom(const QWidget& control, const QWidget* field) {
    if (auto* button = qobject_cast<const QPushButton*>(&control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
    }
    // A group box's title sits inside its border, indented on either side.
    if (qobject_cast<const QGroupBox*>(&control)) return control.width() - 16;
    if (field) return std::min(control.width(), field->x() - control.x() - 1);
    return control.width();
}

namespace {

// Whether the caption's ink lies inside a label's room, its line drawn from
// the box's left and top, or from its left and centred down it.
// A first glyph whose ink starts left of its origin (Cantarell's "x") is
// moved right by that much, so the ink's whole width must fit the room.
bool inkFits(const QFontMetricsF& metrics, const QString& caption, double room, double height, bool centred) {
    const double baseline = metrics.ascent() + (centred ? (height - metrics.height()) / 2 : 0);
    const QRectF ink = metrics.tightBoundingRect(caption);
    return ink.right() + inkIndent(metrics, caption) <= room && baseline + ink.top() >= 0
        && baseline + ink.bottom() <= height;
}

} // namespace

int inkIndent(const QFontMetricsF& metrics, const QString& caption) {
    return static_cast<int>(std::ceil(std::max(0.0, -metrics.tightBoundingRect(caption).left())));
}

void fitCaption(QWidget& control, const QString& caption, const QWidget* field) {
    auto* label = qobject_cast<QLabel*>(&control);
    const bool captioned = label || qobject_cast<QPushButton*>(&control) || qobject_cast<QGroupBox*>(&control);
    if (!captioned || caption.isEmpty()) return;
    const double room = captionRoom(control, field);
    const double height = control.height();
    const auto fits = [&](const QFont& font) {
        const QFontMetricsF metrics(font);
        return metrics.horizontalAdvance(caption) <= room
            && (!label || inkFits(metrics, caption, room, height, false) || inkFits(metrics, caption, room, height, true));
    };
    QFont font = control.font();
    while (!fits(font) && font.pointSizeF() > kSmallestCaptionPointSize)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    if (font != control.font()) control.setFont(font);

    // A caption is drawn from the top of its box. Where that puts ink outside
    // the box (the title's Song face at 19 pixels), the line is centred
    // instead, which raises the glyphs into it.
    if (label && !inkFits(QFontMetricsF(font), caption, room, height, false))
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    if (label) label->setIndent(inkIndent(QFontMetricsF(font), caption));
}

} // namespace window
