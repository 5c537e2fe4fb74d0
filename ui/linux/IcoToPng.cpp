// Build-time tool: writes the largest image of a Windows .ico as the PNG that desktops use for
// the program's icon. Usage: marlox-ico-to-png INPUT.ico OUTPUT.png
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);  // for the image format plug-ins
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s INPUT.ico OUTPUT.png\n", argv[0]);
        return 2;
    }
    QImageReader reader(QString::fromLocal8Bit(argv[1]), "ico");
    QImage best;
    do {
        const QImage image = reader.read();
        if (!image.isNull() && image.width() * image.height() > best.width() * best.height())
            best = image;
    } while (reader.jumpToNextImage());
    if (best.isNull()) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(reader.errorString()));
        return 1;
    }
    if (!best.convertToFormat(QImage::Format_ARGB32).save(QString::fromLocal8Bit(argv[2]), "png")) {
        std::fprintf(stderr, "%s: cannot write\n", argv[2]);
        return 1;
    }
    return 0;
}
