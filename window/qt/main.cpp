// linterp: two-point linear interpolation in one window.
#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "window/qt/application.h"
#include "window/qt/form1.h"

namespace {

// Qt aborts when it finds no display; say so in one line instead.
bool displayAvailable() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char* argv[]) {
    if (!displayAvailable()) {
        std::fputs("linterp: no display to open the window on (DISPLAY is not set)\n", stderr);
        return 1;
    }
    QApplication app(argc, argv);
    window::setUpApplication(app);
    window::Form1 form;
    form.show();
    return QApplication::exec();
}
