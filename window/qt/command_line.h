// The command line, read twice: before any window exists, so that --help,
// --version and a stray argument answer on the terminal without a display,
// and again once QApplication has taken the options that are Qt's
// (-platform, -style, -display and the like), which only Qt can tell.
#pragma once

#include <QStringList>

#include <string>

namespace window::qt {

struct CommandLine {
    enum class Action {
        OpenWindow,
        PrintHelp,
        PrintVersion,
        Refuse,
        // Something that is not ours may be Qt's: read the arguments again
        // once QApplication has taken its own.
        AskQt,
    };
    Action action = Action::OpenWindow;
    std::string text; // what to print: the help, the version, or the one-line error
};

enum class Reading { BeforeQt, AfterQt };

CommandLine readCommandLine(const QStringList& arguments, Reading reading);

// argv as Qt reads it, in the local 8-bit encoding.
QStringList argumentList(int argc, char** argv);

} // namespace window::qt
