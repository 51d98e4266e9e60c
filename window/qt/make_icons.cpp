// Build-time tool: renders the program's SVG icon into raw pixels, one file per
// size, so that the program shows its icon without drawing SVG or decoding an
// image: it hands the embedded pixels to Qt as they are.
//   make_icons ICON.svg OUTPUT_DIR SIZE...   writes OUTPUT_DIR/SIZE.argb, the
//   size x size pixels as premultiplied ARGB32 words in this machine's order,
//   row after row with no padding.
#include <QGuiApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: make_icons ICON.svg OUTPUT_DIR SIZE...\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "make_icons: cannot read %s\n", argv[1]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        const QString name = QString::fromLocal8Bit(argv[2]) + QStringLiteral("/%1.argb").arg(size);
        QFile file(name);
        const auto bytes = static_cast<qint64>(image.sizeInBytes());
        if (image.bytesPerLine() != size * 4 || !file.open(QIODevice::WriteOnly)
            || file.write(reinterpret_cast<const char*>(image.constBits()), bytes) != bytes) {
            std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(name));
            return 1;
        }
    }
    return 0;
}
