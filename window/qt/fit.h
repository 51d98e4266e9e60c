// Captions drawn whole inside their boxes, whatever font the desktop hands
// the window: the boxes are fixed by the layout, so the font gives way.
#pragma once

class QString;
class QWidget;

namespace window {

// The smallest size a caption is shrunk to; no desktop font has needed it.
inline constexpr double kSmallestCaptionPointSize = 6.0;

// Shrinks `control`'s font, a quarter point at a time, just until `caption`
// fits the room its box leaves for text (and, on a label, its ink fits the
// box's height, the line drawn from the top or centred), and centres a
// label's line where that is what fits. Text fields keep their font.
void fitCaption(QWidget& control, const QString& caption);

// The room, in pixels, that `control`'s box leaves for its caption's width.
double captionRoom(const QWidget& control);

} // namespace window
