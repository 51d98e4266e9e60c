#include "window/qt/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include "window/product.h"
#include "window/qt/qstring.h"

namespace window::qt {

QStringList argumentList(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

CommandLine readCommandLine(const QStringList& arguments, Reading reading) {
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
    // Qt writes its options with one dash (-platform, -style), never as
    // letters run together.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);

    if (!parser.parse(arguments)) {
        // Before Qt has read them, an unknown option and whatever follows it
        // (its value, perhaps) may be Qt's.
        if (reading == Reading::BeforeQt) return {CommandLine::Action::AskQt, {}};
        return {CommandLine::Action::Refuse, "linterp: " + parser.errorText().toStdString() + " (see linterp --help)"};
    }
    if (parser.isSet(help)) {
        // The program's name, neither a placeholder (before Qt) nor the path
        // it was started by (after).
        QString text = parser.helpText();
        const QString usage = QStringLiteral("Usage: ");
        text.replace(usage.size(), text.indexOf(QStringLiteral(" [options]")) - usage.size(), QStringLiteral("linterp"));
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
