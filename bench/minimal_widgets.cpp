// The yardstick for start-up time and memory: the smallest Qt 6 Widgets
// program with a window worth the name, one label and one line edit.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("参数"), &window)); // Chinese, as the window's captions
    layout->addWidget(new QLineEdit(&window));
    window.show();
    return QApplication::exec();
}
