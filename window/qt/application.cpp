#include "window/qt/application.h"

#include <QAccessible>
#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QResource>
#include <QLibraryInfo>
#include <QLocale>
#include <QTextLayout>
#include <QTranslator>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <string>

#include "window/layout.h"
#include "window/qt/form1.h"
#include "window/qt/qstring.h"

namespace window::qt {

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

// Those of the families that are installed, in order. Asking Qt for a family
// that is not installed makes it consult fontconfig's aliases, which costs
// milliseconds at start-up; the list of installed families is at hand.
QStringList installedOf(const QStringList& candidates) {
    const QStringList installed = QFontDatabase::families();
    QStringList found;
    for (const QString& family : candidates)
        if (installed.contains(family, Qt::CaseInsensitive)) found << family;
    return found;
}

// HarfBuzz, which shapes Qt's text, takes the language of all text from the
// C library's locale once, when it shapes its first run, and draws a CJK face
// in that language's forms: under zh_TW or zh_HK ，。： are centred, under
// ja_JP 与 takes its Japanese shape, even in a Simplified face. The window is
// Simplified Chinese whatever the locale, so the first run is shaped under
// the neutral "C" locale, which leaves each face its own forms. Any text
// will do: one Latin letter in the application's font loads no face the
// window would not load anyway.
void shapeInNoLanguage() {
    const std::string locale = std::setlocale(LC_CTYPE, nullptr);
    std::setlocale(LC_CTYPE, "C");
    QTextLayout first(QStringLiteral("x"), QApplication::font());
    first.beginLayout();
    first.createLine();
    first.endLayout();
    std::setlocale(LC_CTYPE, locale.c_str());
}

} // namespace

void setUpApplication(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("linterp"));
    QApplication::setApplicationDisplayName(toQString(kTitle));
    QApplication::setApplicationVersion(toQString(kVersion));
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(toQString(kAppId));
    QApplication::setWindowIcon(programIcon());
    translateQt(app);
    QAccessible::installFactory(accessibleForm1);

    // For what the window does not set itself: message boxes, menus.
    QApplication::setFont(cappedFont(app.font()));
    shapeInNoLanguage();
}

QFont cappedFont(const QFont& font) {
    static const QStringList cjk = installedOf({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Source Han Sans SC"),
                                                QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("WenQuanYi Zen Hei"),
                                                QStringLiteral("Droid Sans Fallback")});
    QFont capped = font;
    QStringList families = font.families();
    if (families.isEmpty()) families << font.family();
    for (const QString& family : cjk)
        if (!families.contains(family)) families << family;
    capped.setFamilies(families);
    // Set even where unchanged, so that a control given this font keeps it
    // when the desktop later hands the application another.
    capped.setPointSizeF(font.pointSizeF() <= 0 ? kDesignPointSize : std::min<double>(font.pointSizeF(), kDesignPointSize));
    return capped;
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {LINTERP_ICON_SIZES}) {
        const QResource pixels(QStringLiteral(":/icons/%1.argb").arg(size));
        if (pixels.compressionAlgorithm() != QResource::NoCompression || pixels.size() != qint64{size} * size * 4)
            continue;
        // In the pixmaps' own format, so that they keep the embedded pixels
        // where they lie instead of a converted copy.
        icon.addPixmap(QPixmap::fromImage(QImage(pixels.data(), size, size, QImage::Format_ARGB32_Premultiplied)));
    }
    if (icon.isNull()) std::fputs("linterp: the window's icon is missing from the program\n", stderr);
    return icon;
}

QStringList installedFamilies(const QString& family) {
    // Stand-ins for 宋体 (SimSun), which Linux desktops rarely have: Song/Ming
    // faces first, any CJK face after them.
    static const QStringList song = {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Source Han Serif SC"),
                                     QStringLiteral("AR PL UMing CN"),    QStringLiteral("AR PL SungtiL GB"),
                                     QStringLiteral("Noto Sans CJK SC"),  QStringLiteral("Source Han Sans SC"),
                                     QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Droid Sans Fallback")};
    const bool simSun = family == QStringLiteral("宋体") || family == QStringLiteral("SimSun");
    const QStringList found = installedOf(simSun ? QStringList{QStringLiteral("SimSun")} + song : QStringList{family});
    return found.isEmpty() ? QStringList{family} : found;
}

} // namespace window::qt
