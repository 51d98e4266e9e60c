#include "window/qt/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

#include <string>

#include "window/product.h"
#include "window/qt/qstring.h"

namespace window::qt {

namespace {

// The options QGuiApplication and QApplication take themselves, each with
// whether it is followed by a value.
struct QtOption {
    const char* name;
    bool takesValue;
};
constexpr QtOption kQtOptions[] = {
    {"platform", true}, {"platformpluginpath", true}, {"platformtheme", true}, {"plugin", true},
    {"qwindowgeometry", true}, {"geometry", true}, {"qwindowicon", true}, {"icon", true},
    {"qwindowtitle", true}, {"title", true}, {"display", true}, {"name", true}, {"style", true},
    {"stylesheet", true}, {"session", true}, {"reverse", false}, {"widgetcount", false},
    {"nograb", false}, {"dograb", false}, {"sync", false}, {"qmljsdebugger", true},
};

} // namespace

CommandLine readCommandLine(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription(toQString(kProductName) + QStringLiteral(
        "：由两个已知点求直线上一点的纵坐标。\n"
        "Two-point linear interpolation: y on the straight line through two points."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("显示本帮助后退出 (show this help and exit)"));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("显示版本后退出 (show the version and exit)"));
    parser.addOption(help);
    parser.addOption(version);
    for (const QtOption& qt : kQtOptions) {
        QCommandLineOption option(QString::fromLatin1(qt.name));
        if (qt.takesValue) option.setValueName(QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    // Qt writes its options with one dash: -platform, never -p -l -a ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);

    if (!parser.parse(arguments))
        return {CommandLine::Action::Refuse, "linterp: " + parser.errorText().toStdString() + " (see linterp --help)"};
    if (parser.isSet(help)) {
        // The program's name, not a placeholder for it: there is no application yet.
        QString text = parser.helpText();
        text.replace(QStringLiteral("<executable_name>"), QStringLiteral("linterp"));
        return {CommandLine::Action::PrintHelp, text.toStdString()};
    }
    if (parser.isSet(version))
        return {CommandLine::Action::PrintVersion, "linterp " + std::string(kVersion) + "\n"};
    if (!parser.positionalArguments().isEmpty())
        return {CommandLine::Action::Refuse,
                "linterp: unexpected argument '" + parser.positionalArguments().front().toStdString()
                    + "' (see linterp --help)"};
    return {};
}

} // namespace window::qt
