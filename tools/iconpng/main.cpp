// Renders the program's SVG icon to the PNG sizes of the hicolor icon theme,
// with Qt's own SVG image plug-in, the one that draws the icon in the tray.
//
//   iconpng <icon.svg> <output folder> <size>...
//
// writes <output folder>/<size>x<size>/apps/<icon name>.png for every size.

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: iconpng <icon.svg> <output folder> <size>...\n");
        return 2;
    }
    const QString svg = args.at(1);
    const QString name = QFileInfo(svg).completeBaseName() + QStringLiteral(".png");
    for (const QString& sizeText : args.mid(3)) {
        bool isNumber = false;
        const int size = sizeText.toInt(&isNumber);
        if (!isNumber || size <= 0) {
            std::fprintf(stderr, "not a size: %s\n", qPrintable(sizeText));
            return 2;
        }
        QImageReader reader(svg, "svg");
        reader.setScaledSize(QSize(size, size));
        const QImage image = reader.read();
        if (image.isNull()) {
            std::fprintf(stderr, "cannot render %s: %s\n", qPrintable(svg),
                         qPrintable(reader.errorString()));
            return 1;
        }
        const QString folder = QDir(args.at(2)).filePath(QStringLiteral("%1x%1/apps").arg(size));
        if (!QDir().mkpath(folder) ||
            !image.convertToFormat(QImage::Format_ARGB32).save(QDir(folder).filePath(name))) {
            std::fprintf(stderr, "cannot write the %d pixel icon into %s\n", size,
                         qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
