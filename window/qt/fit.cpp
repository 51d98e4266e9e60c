#include "window/qt/fit.h"

#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

#include <algorithm>
#include <cmath>

namespace window::qt {

double captionRoom(const QWidget& control, const QWidget* field) {
    if (auto* button = qobject_cast<const QPushButton*>(&control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
    }
    // A group box's title sits inside its border, indented as far from
    // either side as the style puts it from the left.
    if (auto* box = qobject_cast<const QGroupBox*>(&control)) {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.textAlignment = box->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect title = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
        return box->width() - 2 * title.left();
    }
    if (field) return std::min(control.width(), field->x() - control.x() - 1);
    return control.width();
}

namespace {

// How far right a label's text is moved so that the ink of its first glyph,
// which some faces (Cantarell's "x") start left of the glyph's origin, stays
// inside the box.
int inkIndent(const QRectF& ink) { return static_cast<int>(std::ceil(std::max(0.0, -ink.left()))); }

// Whether the caption's ink, moved right by its indent, lies inside a label's
// room, its line drawn from the box's top or centred down it.
bool inkFits(const QFontMetricsF& metrics, const QRectF& ink, double room, double height, bool centred) {
    const double baseline = metrics.ascent() + (centred ? (height - metrics.height()) / 2 : 0);
    return ink.right() + inkIndent(ink) <= room && baseline + ink.top() >= 0 && baseline + ink.bottom() <= height;
}

} // namespace

void fitCaption(QWidget& control, const QString& caption, const QWidget* field) {
    auto* label = qobject_cast<QLabel*>(&control);
    const bool captioned = label || qobject_cast<QPushButton*>(&control) || qobject_cast<QGroupBox*>(&control);
    if (!captioned || caption.isEmpty()) return;
    const double room = captionRoom(control, field);
    const double height = control.height();
    const auto fits = [&](const QFont& font) {
        const QFontMetricsF metrics(font);
        if (metrics.horizontalAdvance(caption) > room) return false;
        if (!label) return true;
        const QRectF ink = metrics.tightBoundingRect(caption);
        return inkFits(metrics, ink, room, height, false) || inkFits(metrics, ink, room, height, true);
    };
    QFont font = control.font();
    while (!fits(font) && font.pointSizeF() > kSmallestCaptionPointSize)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    if (font != control.font()) control.setFont(font);
    if (!label) return;

    // A caption is drawn from the top of its box. Where that puts ink outside
    // the box (the title's Song face at 19 pixels), the line is centred
    // instead, which raises the glyphs into it.
    const QFontMetricsF metrics(font);
    const QRectF ink = metrics.tightBoundingRect(caption);
    if (!inkFits(metrics, ink, room, height, false)) label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setIndent(inkIndent(ink));
}

} // namespace window::qt
