#include "window/qt/application.h"

#include <QApplication>
#include <QFont>
#include <QLocale>

#include "runtime/number.h"

namespace window {

void setUpApplication(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("linterp"));
    QApplication::setApplicationDisplayName(QStringLiteral("线性差值"));
    QApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.linterp.linterp"));

    // The title's font, 宋体 (SimSun), is not found on Linux desktops: a
    // Song/Ming-style face stands in where one is installed, any CJK face
    // otherwise.
    const QStringList song = {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Source Han Serif SC"),
                              QStringLiteral("AR PL UMing CN"),    QStringLiteral("AR PL SungtiL GB"),
                              QStringLiteral("Noto Sans CJK SC"),  QStringLiteral("Source Han Sans SC"),
                              QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Droid Sans Fallback")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), song);

    // Everything else: a CJK sans face whose Latin letters are narrow enough
    // for the message in its 137-pixel box, at an explicit size rather than
    // the desktop's (often 10 or 11 points, which clips it).
    QFont font = app.font();
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Source Han Sans SC"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("WenQuanYi Zen Hei"),
                      QStringLiteral("Droid Sans Fallback")});
    font.setPointSize(kFontPointSize);
    QApplication::setFont(font);

    const QString point = QLocale::system().decimalPoint();
    rt::SetDecimalSeparator(point.size() == 1 ? point.front().unicode() : u'.');
}

} // namespace window
