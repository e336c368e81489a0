#pragma once

#include <QList>
#include <QObject>

class PaletteCell;
class PictureBox;

// Makes a palette panel usable from the keyboard. While the panel has the
// focus one of its cells is marked with a frame round its picture, the first
// cell to begin with; the arrow keys
// move the mark to the neighbouring cell as the cells lie over the picture,
// stopping at the edges, and Space or Return press the marked cell as a
// click would. The cells themselves never take the focus.
class PaletteKeyboard : public QObject
{
    Q_OBJECT

public:
    PaletteKeyboard(PictureBox& panel, QList<PaletteCell*> cells);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handleKey(int key, bool autoRepeat);
    PaletteCell* neighbour(int arrow) const;
    void mark(PaletteCell* cell);
    void tellScreenReaders() const;

    PictureBox& m_panel;
    QList<PaletteCell*> m_cells;
    PaletteCell* m_marked = nullptr;
};
