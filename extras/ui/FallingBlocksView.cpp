#include "FallingBlocksView.h"

#include "TFallingBlocks.h"

#include <QPainter>

namespace {

// The inside of a cell: the cell's square less the line on its left and top.
QRect cellRect(int column, int row, int b)
{
    return QRect((column - 1) * b + 1, (row - 1) * b + 1, b - 1, b - 1);
}

} // namespace

FallingBlocksView::FallingBlocksView(TFallingBlocks &board, QWidget *parent) : QWidget(parent), m_board(board)
{
    setObjectName(QStringLiteral("TFallingBlocks"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(m_board.pixelSize());
}

void FallingBlocksView::boardChanged()
{
    if (size() != m_board.pixelSize())
        setFixedSize(m_board.pixelSize());
    update();
}

QSize FallingBlocksView::sizeHint() const
{
    return m_board.pixelSize();
}

void FallingBlocksView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int b = m_board.BlockSize();
    const auto &list = m_board.PieceList();
    p.fillRect(rect(), m_board.Color()); // the lines between the cells
    for (int column = 1; column <= m_board.Columns(); ++column)
        for (int row = 1; row <= m_board.Rows(); ++row) {
            const int cell = m_board.Cell(column, row);
            const bool known = cell > 0 && cell <= int(list.size());
            p.fillRect(cellRect(column, row, b), known ? list[std::size_t(cell - 1)].Color : m_board.Color());
        }
    if (m_board.DrawGrid()) {
        p.setPen(m_board.GridColor());
        for (int k = 1; k < m_board.Columns(); ++k)
            for (int l = 1; l < m_board.Rows(); ++l)
                p.drawPoint(k * b, l * b);
    }
    if (m_board.Playing()) {
        const TPiece &piece = m_board.CurrentPiece();
        for (int y = 0; y < piece.Size; ++y)
            for (int x = 0; x < piece.Size; ++x)
                if (piece.filled(x, y) && m_board.PieceY() + y >= 1)
                    p.fillRect(cellRect(m_board.PieceX() + x, m_board.PieceY() + y, b), piece.Color);
    }
}

void FallingBlocksView::DrawPiece(QPainter &painter, const TFallingBlocks &board, int piece, int px, int py)
{
    const auto &list = board.PieceList();
    if (piece < 0 || piece >= int(list.size()))
        return;
    const TPiece &p = list[std::size_t(piece)];
    for (int y = 0; y < p.Size; ++y)
        for (int x = 0; x < p.Size; ++x)
            if (p.filled(x, y))
                painter.fillRect(cellRect(px + x, py + y, board.BlockSize()), p.Color);
}
