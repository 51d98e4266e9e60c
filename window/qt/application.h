// What the calculator sets up once, before its window: identity, the icon,
// Qt's own strings in Chinese, and fonts that can show Simplified Chinese.
#pragma once

class QApplication;
class QIcon;

namespace window {

void setUpApplication(QApplication& app);

// The program's icon at the sizes window managers ask for, rendered at build
// time from the same SVG as its menu entry.
QIcon programIcon();

} // namespace window
