// What the calculator sets up once, before its window: identity, the icon,
// Qt's own strings in Chinese, and fonts that can show Simplified Chinese.
#pragma once

#include <QFont>
#include <QStringList>

class QApplication;
class QIcon;

namespace window::qt {

void setUpApplication(QApplication& app);

// `font` as the window draws its controls in: the same face, with a CJK face
// for the Chinese it lacks, at no more than the layout's design size. The
// window shrinks any caption that still does not fit its box.
QFont cappedFont(const QFont& font);

// The program's icon at the sizes window managers ask for, rendered at build
// time from the same SVG as its menu entry; null, with a note on stderr, if
// the pixels are missing.
QIcon programIcon();

// The families to draw `family` with: itself where it is installed; for 宋体
// (SimSun), which Linux desktops rarely have, the installed Song/Ming faces,
// then any CJK face.
QStringList installedFamilies(const QString& family);

} // namespace window::qt
