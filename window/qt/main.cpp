// linterp: two-point linear interpolation in one window.
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "window/qt/application.h"
#include "window/qt/command_line.h"
#include "window/qt/form1.h"

namespace {

// Qt aborts when it finds no display; say so in one line instead.
bool displayAvailable(int argc, char* argv[]) {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == "-platform" || std::string_view(argv[i]) == "--platform") return true;
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char* argv[]) {
    const window::CommandLine commandLine = window::readCommandLine(argc, argv);
    switch (commandLine.action) {
    case window::CommandLine::Action::PrintHelp:
    case window::CommandLine::Action::PrintVersion:
        std::fputs(commandLine.text.c_str(), stdout);
        return 0;
    case window::CommandLine::Action::Refuse:
        std::fprintf(stderr, "%s\n", commandLine.text.c_str());
        return 2;
    case window::CommandLine::Action::OpenWindow:
        break;
    }
    if (!displayAvailable(argc, argv)) {
        std::fputs("linterp: no display to open the window on (DISPLAY is not set)\n", stderr);
        return 1;
    }
    QApplication app(argc, argv);
    window::setUpApplication(app);
    window::Form1 form;
    form.show();
    return QApplication::exec();
}
