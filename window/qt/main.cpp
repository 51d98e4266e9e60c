// linterp: two-point linear interpolation in one window.
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// While the application starts, Qt's messages are held back: when no
// platform can reach a display, Qt ends with a fatal message and aborts, and
// the user gets one line of ours and status 1 instead. Otherwise what was
// held is passed on.
class StartingMessages {
public:
    StartingMessages() : previous_(qInstallMessageHandler(hold)) {}
    ~StartingMessages() {
        qInstallMessageHandler(previous_);
        for (const Held& message : held_) {
            const QMessageLogContext context(message.file.c_str(), message.line, message.function.c_str(),
                                             message.category.c_str());
            previous_(message.type, context, message.text);
        }
        held_.clear();
    }
    StartingMessages(const StartingMessages&) = delete;
    StartingMessages& operator=(const StartingMessages&) = delete;

private:
    struct Held {
        QtMsgType type;
        std::string file, function, category;
        int line;
        QString text;
    };
    static void hold(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type == QtFatalMsg) {
            // Nothing allocated: this is the way out of a failed start.
            const auto setting = [](const char* name) {
                const char* value = std::getenv(name);
                if (value && *value) std::fprintf(stderr, "%s=%s", name, value);
                else std::fprintf(stderr, "%s unset", name);
            };
            std::fputs("linterp: cannot open the window: no display could be reached (", stderr);
            setting("DISPLAY");
            std::fputs(", ", stderr);
            setting("WAYLAND_DISPLAY");
            if (std::getenv("QT_QPA_PLATFORM")) {
                std::fputs(", ", stderr);
                setting("QT_QPA_PLATFORM");
            }
            std::fputs(")\n", stderr);
            std::_Exit(1);
        }
        const auto copy = [](const char* value) { return std::string(value ? value : ""); };
        held_.push_back({type, copy(context.file), copy(context.function), copy(context.category), context.line,
                         text});
    }
    static inline std::vector<Held> held_;
    QtMessageHandler previous_;
};

// Prints what the command line asks for; true when the program should go on
// to its window.
bool answer(const window::qt::CommandLine& commandLine, int& status) {
    switch (commandLine.action) {
    case window::qt::CommandLine::Action::PrintHelp:
    case window::qt::CommandLine::Action::PrintVersion:
        std::fputs(commandLine.text.c_str(), stdout);
        status = 0;
        return false;
    case window::qt::CommandLine::Action::Refuse:
        std::fprintf(stderr, "%s\n", commandLine.text.c_str());
        status = 2;
        return false;
    case window::qt::CommandLine::Action::AskQt:
    case window::qt::CommandLine::Action::OpenWindow:
        break;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    using window::qt::CommandLine;
    using window::qt::Reading;
    const CommandLine before = window::qt::readCommandLine(window::qt::argumentList(argc, argv), Reading::BeforeQt);
    int status = 0;
    if (!answer(before, status)) return status;
    if (!displayAvailable(argc, argv)) {
        std::fputs("linterp: no display to open the window on (DISPLAY is not set)\n", stderr);
        return 1;
    }
    std::optional<StartingMessages> starting(std::in_place);
    QApplication app(argc, argv);
    starting.reset();
    // QApplication has taken its options out of the list: what is left and
    // not ours is a mistake.
    if (before.action == CommandLine::Action::AskQt
        && !answer(window::qt::readCommandLine(QApplication::arguments(), Reading::AfterQt), status))
        return status;
    window::qt::setUpApplication(app);
    window::qt::Form1 form;
    form.show();
    return QApplication::exec();
}
