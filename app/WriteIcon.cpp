// Draws the program's icon when the program is built:
//     write-icon icon.png pixels.cpp
// writes it as a PNG for installing and as the pixel table the program shows.
#include "app/AppIconDrawing.h"

#include <QFile>
#include <QGuiApplication>

namespace {

bool writePixelTable(const QImage& icon, const QString& path)
{
    QByteArray source = "// Written by write-icon from drawAppIconImage().\n"
                        "#include \"app/AppIconPixels.h\"\n\n"
                        "const quint32 appIconPixels[AppIconSide * AppIconSide] = {\n";
    for (int y = 0; y < icon.height(); ++y) {
        const auto* line = reinterpret_cast<const quint32*>(icon.constScanLine(y));
        source += "   ";
        for (int x = 0; x < icon.width(); ++x)
            source += " 0x" + QByteArray::number(line[x], 16).rightJustified(8, '0') + ',';
        source += '\n';
    }
    source += "};\n";

    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(source) == source.size()
           && file.flush();
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const QImage icon = drawAppIconImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (icon.size() != QSize(AppIconSide, AppIconSide))
        return 1;
    return icon.save(QString::fromLocal8Bit(argv[1]), "PNG") && writePixelTable(icon, QString::fromLocal8Bit(argv[2]))
               ? 0
               : 1;
}
