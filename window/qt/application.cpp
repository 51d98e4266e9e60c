#include "window/qt/application.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

#include "window/layout.h"
#include "window/qt/qstring.h"

namespace window {

namespace {

// Qt's own strings (a message box's button, a field's context menu) in
// Simplified Chinese whatever the system's language, as the rest of the
// window is; in English, with a note on stderr, when the translation is not
// installed.
void translateQt(QApplication& app) {
    auto* translator = new QTranslator(&app);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                         folder)) {
        QApplication::installTranslator(translator);
    } else {
        std::fprintf(stderr, "linterp: %s/qtbase_zh_CN.qm is missing, so Qt's own buttons stay in English "
                             "(Debian package qt6-translations-l10n)\n",
                     qUtf8Printable(folder));
    }
}

} // namespace

void setUpApplication(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("linterp"));
    QApplication::setApplicationDisplayName(toQString(kTitle));
    QApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.linterp.linterp"));
    QApplication::setWindowIcon(programIcon());
    translateQt(app);

    // The title's font, 宋体 (SimSun), is not found on Linux desktops: a
    // Song/Ming-style face stands in where one is installed, any CJK face
    // otherwise.
    const QStringList song = {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Source Han Serif SC"),
                              QStringLiteral("AR PL UMing CN"),    QStringLiteral("AR PL SungtiL GB"),
                              QStringLiteral("Noto Sans CJK SC"),  QStringLiteral("Source Han Sans SC"),
                              QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Droid Sans Fallback")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), song);

    // The desktop's face, with a CJK sans face for the Chinese it lacks, at no
    // more than the layout's design size. The window shrinks any caption
    // that still does not fit its box.
    QFont font = app.font();
    QStringList families = font.families();
    if (families.isEmpty()) families << font.family();
    families << QStringLiteral("Noto Sans CJK SC") << QStringLiteral("Source Han Sans SC")
             << QStringLiteral("WenQuanYi Micro Hei") << QStringLiteral("WenQuanYi Zen Hei")
             << QStringLiteral("Droid Sans Fallback");
    font.setFamilies(families);
    if (font.pointSizeF() <= 0 || font.pointSizeF() > kDesignPointSize) font.setPointSizeF(kDesignPointSize);
    QApplication::setFont(font);
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {LINTERP_ICON_SIZES})
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace window
