// Captions drawn whole inside their boxes, whatever font the desktop hands
// the window: the boxes are fixed by the layout, so the font gives way.
#pragma once

class QString;
class QWidget;

namespace window::qt {

// The smallest size a caption is shrunk to; no desktop font has needed it.
inline constexpr double kSmallestCaptionPointSize = 6.0;

// Shrinks `control`'s font, a quarter point at a time, just until `caption`
// fits the room its box leaves for text (on a label, its advance and its ink
// both: across, and down the box's height, the line drawn from the top or
// centred), and centres a label's line where that is what fits. A label that
// names a field, `field`, keeps its ink clear of it. Text fields keep their font.
void fitCaption(QWidget& control, const QString& caption, const QWidget* field = nullptr);

// The room, in pixels, that `control`'s box leaves for its caption's width;
// for a label, up to a pixel short of the field it names, if any.
double captionRoom(const QWidget& control, const QWidget* field = nullptr);

} // namespace window::qt
