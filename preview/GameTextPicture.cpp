#include "preview/GameTextPicture.h"

#include "palette/SymbolCells.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int Padding = 6;
constexpr int MinimumContentWidth = 48;
// Tall enough for the tallest symbol, the digits in rings.
constexpr int SymbolBandHeight = 19;
constexpr int SymbolGap = 2;
// A control character the game's font has no picture for shows as an empty
// box in the text's colour, a pixel further from its neighbours than a picture.
constexpr QSize EmptyBoxSize(7, 11);
constexpr int EmptyBoxGap = SymbolGap + 1;

QFont consoleFont()
{
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(15);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

struct Placed
{
    QPoint topLeft; // of the item's box in its line
    QColor colour;
    QString glyph;    // text to draw, or
    QImage picture;   // a symbol's picture,
    QPoint pictureAt; // this far into the box
};

} // namespace

QImage gameTextPicture(std::span<const GameTextRun> runs)
{
    const QFont font = consoleFont();
    const QFontMetrics metrics(font);
    const int lineHeight = std::max(metrics.height(), SymbolBandHeight);
    const int rightEdge = GameTextPictureMaxWidth - Padding;

    std::vector<Placed> placed;
    QPoint pen(Padding, Padding);
    int widest = Padding + MinimumContentWidth;
    const auto place = [&](int width, Placed item) {
        if (pen.x() + width > rightEdge && pen.x() > Padding)
            pen = QPoint(Padding, pen.y() + lineHeight);
        item.topLeft = pen;
        placed.push_back(std::move(item));
        pen.rx() += width;
        widest = std::max(widest, pen.x());
    };

    for (const GameTextRun& run : runs) {
        if (run.kind == GameTextRun::Kind::Cut) {
            const QString ellipsis(QChar(0x2026));
            place(metrics.horizontalAdvance(ellipsis), {{}, QColor::fromRgb(GameTextCutMark), ellipsis, {}, {}});
            continue;
        }
        if (run.kind == GameTextRun::Kind::Symbol) {
            const SymbolCell* cell = findSymbolCell(run.text.front().unicode());
            QImage picture = cell ? cell->picture() : emptySymbolBox(EmptyBoxSize, run.colour.rgb());
            const int gap = cell ? SymbolGap : EmptyBoxGap;
            const QPoint at(gap, (lineHeight - picture.height()) / 2);
            const int width = picture.width() + 2 * gap;
            place(width, {{}, run.colour, {}, std::move(picture), at});
            continue;
        }
        for (qsizetype i = 0; i < run.text.size(); ++i) {
            // Wrap between characters, never inside a surrogate pair.
            const qsizetype length = run.text[i].isHighSurrogate() && i + 1 < run.text.size() ? 2 : 1;
            QString glyph = run.text.mid(i, length);
            i += length - 1;
            // Measured before the glyph moves into its item.
            const int width = metrics.horizontalAdvance(glyph);
            place(width, {{}, run.colour, std::move(glyph), {}, {}});
        }
    }

    QImage image(widest + Padding, pen.y() + lineHeight + Padding, QImage::Format_RGB32);
    image.fill(GameTextBackground);
    QPainter painter(&image);
    painter.setFont(font);
    const int baseline = (lineHeight - metrics.height()) / 2 + metrics.ascent();
    for (const Placed& item : placed) {
        if (item.glyph.isEmpty()) {
            painter.drawImage(item.topLeft + item.pictureAt, item.picture);
        } else {
            painter.setPen(item.colour);
            painter.drawText(item.topLeft + QPoint(0, baseline), item.glyph);
        }
    }
    return image;
}
