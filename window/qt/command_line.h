// The command line, read before any window exists, so that --help, --version
// and a mistyped option answer on the terminal without needing a display.
#pragma once

#include <string>

namespace window::qt {

struct CommandLine {
    enum class Action { OpenWindow, PrintHelp, PrintVersion, Refuse };
    Action action = Action::OpenWindow;
    std::string text; // what to print: the help, the version, or the one-line error
};

// Qt's own options (-platform, -style, -geometry and the like) are accepted and
// left for QApplication to take.
CommandLine readCommandLine(int argc, char** argv);

} // namespace window::qt
