// Draws the program's pictures when the program is built:
//     write-icons pixels.cpp icons-folder app-id side...
// writes the pixel tables of the pictures the window shows into pixels.cpp,
// and the application icon at each side given as a PNG for desktops, at
// icons-folder/<side>x<side>/apps/<app-id>.png.
#include "icons/Drawings.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

namespace {

// What the window shows: the window's icon as its one 32-pixel image, and the
// folders of the folder list also at twice their size for a screen scaled twice.
struct ShownPicture
{
    Icon icon;
    const char* name;
    int side;
};
constexpr ShownPicture ShownPictures[] = {
    {Icon::App, "Icon::App", 32},
    {Icon::ShutFolder, "Icon::ShutFolder", 16},
    {Icon::ShutFolder, "Icon::ShutFolder", 32},
    {Icon::OpenFolder, "Icon::OpenFolder", 16},
    {Icon::OpenFolder, "Icon::OpenFolder", 32},
};

QByteArray pixelTable(const QByteArray& name, const QImage& picture)
{
    QByteArray source = "const quint32 " + name + "[] = {\n";
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const quint32*>(picture.constScanLine(y));
        source += "   ";
        for (int x = 0; x < picture.width(); ++x)
            source += " 0x" + QByteArray::number(line[x], 16).rightJustified(8, '0') + ',';
        source += '\n';
    }
    return source + "};\n";
}

bool writePixelTables(const QString& path)
{
    QByteArray tables;
    QByteArray rows;
    for (const ShownPicture& shown : ShownPictures) {
        const QByteArray name = "picture" + QByteArray::number(&shown - ShownPictures);
        tables += pixelTable(name, drawIcon(shown.icon, shown.side));
        rows += "    {" + QByteArray(shown.name) + ", " + QByteArray::number(shown.side) + ", " + name + "},\n";
    }
    const QByteArray source = "// Written by write-icons from icons/Drawings.cpp.\n"
                              "#include \"icons/PixelPictures.h\"\n\n"
                              "namespace {\n\n"
                              + tables + "\nconst PixelPicture pictures[] = {\n" + rows
                              + "};\n\n} // namespace\n\n"
                                "std::span<const PixelPicture> pixelPictures()\n{\n    return pictures;\n}\n";
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(source) == source.size()
           && file.flush();
}

bool writeDesktopIcon(const QString& folder, const QString& appId, int side)
{
    const QString sized = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(side);
    return side > 0 && QDir().mkpath(sized) && drawIcon(Icon::App, side).save(sized + u'/' + appId + ".png", "PNG");
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 5)
        return 2;
    if (!writePixelTables(arguments[1]))
        return 1;
    for (const QString& side : arguments.mid(4)) {
        if (!writeDesktopIcon(arguments[2], arguments[3], side.toInt()))
            return 1;
    }
    return 0;
}
