#include "preview/GameTextPicture.h"

#include "palette/SymbolDrawing.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int Padding = 6;
constexpr int MinimumContentWidth = 48;
// Tall enough for the tallest symbol, the digits in rings.
constexpr int SymbolBandHeight = 19;
// Wide enough for the widest symbol, "Scroll" over "Lock".
constexpr int SymbolScratchWidth = 48;
constexpr int SymbolGap = 2;

QFont consoleFont()
{
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(15);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// A symbol's picture cut to the columns it covers, so that narrow symbols
// take little room and wide ones are not clipped. A control character the
// game's font has no picture for shows as an empty box in the text colour.
QImage symbolImage(QChar character, QColor colour, int height)
{
    QImage scratch(SymbolScratchWidth, height, QImage::Format_ARGB32_Premultiplied);
    scratch.fill(Qt::transparent);
    if (!drawSymbol(scratch, scratch.rect(), character.unicode())) {
        QImage box(9, height, QImage::Format_ARGB32_Premultiplied);
        box.fill(Qt::transparent);
        QPainter painter(&box);
        painter.setPen(colour);
        painter.drawRect(1, height / 2 - 5, 6, 10);
        return box;
    }
    const QRect ink = inkBounds(scratch);
    return ink.isEmpty() ? QImage() : scratch.copy(ink.left(), 0, ink.width(), height);
}

struct Placed
{
    QPoint topLeft; // of the item's box in its line
    QColor colour;
    QString glyph;  // text to draw, or
    QImage picture; // a symbol's picture
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
            place(metrics.horizontalAdvance(ellipsis), {{}, QColor::fromRgb(GameTextCutMark), ellipsis, {}});
            continue;
        }
        if (run.kind == GameTextRun::Kind::Symbol) {
            QImage picture = symbolImage(run.text.front(), run.colour, lineHeight);
            const int width = picture.width() + 2 * SymbolGap;
            place(width, {{}, run.colour, {}, std::move(picture)});
            continue;
        }
        for (qsizetype i = 0; i < run.text.size(); ++i) {
            // Wrap between characters, never inside a surrogate pair.
            const qsizetype length = run.text[i].isHighSurrogate() && i + 1 < run.text.size() ? 2 : 1;
            QString glyph = run.text.mid(i, length);
            i += length - 1;
            // Measured before the glyph moves into its item.
            const int width = metrics.horizontalAdvance(glyph);
            place(width, {{}, run.colour, std::move(glyph), {}});
        }
    }

    QImage image(widest + Padding, pen.y() + lineHeight + Padding, QImage::Format_RGB32);
    image.fill(GameTextBackground);
    QPainter painter(&image);
    painter.setFont(font);
    const int baseline = (lineHeight - metrics.height()) / 2 + metrics.ascent();
    for (const Placed& item : placed) {
        if (item.glyph.isEmpty()) {
            painter.drawImage(item.topLeft + QPoint(SymbolGap, 0), item.picture);
        } else {
            painter.setPen(item.colour);
            painter.drawText(item.topLeft + QPoint(0, baseline), item.glyph);
        }
    }
    return image;
}
