// What the calculator sets up once, before its window: identity, the icon,
// Qt's own strings in Chinese, and fonts that can show Simplified Chinese.
#pragma once

#include <QStringList>

class QApplication;
class QIcon;

namespace window {

void setUpApplication(QApplication& app);

// The program's icon at the sizes window managers ask for, rendered at build
// time from the same SVG as its menu entry; null, with a note on stderr, if
// the pixels are missing.
QIcon programIcon();

// The families to draw `family` with: itself where it is installed; for 宋体
// (SimSun), which Linux desktops rarely have, the installed Song/Ming faces,
// then any CJK face.
QStringList installedFamilies(const QString& family);

} // namespace window
