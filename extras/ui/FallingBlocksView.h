#pragma once

#include <QWidget>

class QPainter;
class TFallingBlocks;

// Paints a falling-blocks board: every cell in the colour of the piece that
// filled it or in the board colour, the current piece over it, and with DrawGrid
// a dot at every inner crossing. The widget takes the board's pixel size.
class FallingBlocksView : public QWidget
{
public:
    explicit FallingBlocksView(TFallingBlocks &board, QWidget *parent = nullptr);

    // Follows a change of the board: new size, new picture.
    void boardChanged();
    QSize sizeHint() const override;

    // Draws a piece of the board's list with the board's cell geometry, its matrix
    // placed at board column px and row py (the preview uses 1, 1).
    static void DrawPiece(QPainter &painter, const TFallingBlocks &board, int piece, int px, int py);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TFallingBlocks &m_board;
};
