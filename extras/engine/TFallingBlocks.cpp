#include "TFallingBlocks.h"

#include "Amount.h"
#include "Errors.h"

#include <QDateTime>
#include <QRandomGenerator>

#include <algorithm>

namespace {

// The colour names of the Windows colour set, with their values as that set
// writes them: blue, green, red from the high byte down.
struct NamedColor
{
    const char *name;
    quint32 bgr;
};
constexpr NamedColor NamedColors[] = {
    {"clBlack", 0x000000},  {"clMaroon", 0x000080}, {"clGreen", 0x008000},      {"clOlive", 0x008080},
    {"clNavy", 0x800000},   {"clPurple", 0x800080}, {"clTeal", 0x808000},       {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF},    {"clLime", 0x00FF00},       {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},   {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},      {"clLtGray", 0xC0C0C0},
    {"clDkGray", 0x808080}, {"clWhite", 0xFFFFFF},  {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},  {"clMedGray", 0xA4A0A0},
};

QColor fromBgr(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

} // namespace

const QStringList TFallingBlocks::DefaultPieces = {
    QStringLiteral("Stick;clWhite;4;0100010001000100"), QStringLiteral("Block;clRed;2;1111"),
    QStringLiteral("Z;clLime;3;110011000"),             QStringLiteral("S;clAqua;3;011110000"),
    QStringLiteral("T;clFuchsia;3;010111000"),          QStringLiteral("L;clBlue;3;010010011"),
    QStringLiteral("Inverse L;clYellow;3;010010110"),
};

TFallingBlocks::TFallingBlocks() = default;

// --- properties ------------------------------------------------------------------

void TFallingBlocks::setColor(const QColor &color)
{
    m_color = color;
    changed();
}

void TFallingBlocks::setGridColor(const QColor &color)
{
    m_gridColor = color;
    changed();
}

void TFallingBlocks::setDrawGrid(bool on)
{
    m_drawGrid = on;
    changed();
}

void TFallingBlocks::setBlockSize(int size)
{
    if (m_playing)
        return;
    m_blockSize = std::clamp(size, 1, 255);
    changed();
}

void TFallingBlocks::setRows(int rows)
{
    if (m_playing)
        return;
    m_rows = std::clamp(rows, 2, MaxRows);
    changed();
}

void TFallingBlocks::setColumns(int columns)
{
    if (m_playing)
        return;
    m_columns = std::clamp(columns, 2, MaxColumns);
    changed();
}

void TFallingBlocks::setPieces(const QStringList &lines)
{
    if (!m_playing)
        m_pieces = lines;
}

void TFallingBlocks::setUseDefaultPieces(bool on)
{
    m_useDefaultPieces = on;
}

QSize TFallingBlocks::pixelSize() const
{
    return {m_columns * m_blockSize + 1, m_rows * m_blockSize + 1};
}

int TFallingBlocks::Cell(int column, int row) const
{
    if (column < 1 || column > MaxColumns || row < 1 || row > MaxRows)
        return 0;
    return m_cells[column][row];
}

void TFallingBlocks::changed()
{
    if (OnChanged)
        OnChanged();
}

int TFallingBlocks::draw(int bound)
{
    if (bound <= 1)
        return 0;
    const int value = m_random ? m_random(bound) : std::uniform_int_distribution<int>(0, bound - 1)(m_generator);
    return std::clamp(value, 0, bound - 1);
}

// --- pieces ----------------------------------------------------------------------

std::optional<QColor> TFallingBlocks::ColorFromText(const QString &text)
{
    const QString t = text.trimmed();
    for (const NamedColor &c : NamedColors)
        if (t.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
            return fromBgr(c.bgr);
    bool ok = false;
    qint64 value = 0;
    if (t.startsWith(QLatin1Char('$')))
        value = t.mid(1).toLongLong(&ok, 16);
    else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = t.mid(2).toLongLong(&ok, 16);
    else
        value = t.toLongLong(&ok, 10);
    // Negative numbers name system colours of the desktop, which a game board has no use for.
    if (!ok || value < 0 || value > 0xFFFFFF)
        return std::nullopt;
    return fromBgr(quint32(value));
}

TPiece TFallingBlocks::ParsePiece(const QString &line, const QColor &background, const RandomSource &random)
{
    const QStringList fields = line.split(QLatin1Char(';'));
    TPiece p;
    p.Name = fields.value(0);
    p.Color = ColorFromText(fields.value(1)).value_or(QColor(Qt::white));
    while (p.Color == background) {
        const int bgr = random ? random(0xFFFFFF) : int(QRandomGenerator::global()->bounded(0xFFFFFF));
        p.Color = fromBgr(quint32(std::clamp(bgr, 0, 0xFFFFFE)));
    }
    bool ok = false;
    const int size = fields.value(2).trimmed().toInt(&ok);
    p.Size = ok ? std::clamp(size, 1, TPiece::MaxSize) : 4;
    const QString matrix = fields.value(3);
    for (int i = 0; i < p.Size * p.Size; ++i)
        p.cells[i / p.Size][i % p.Size] = i < matrix.size() && matrix.at(i) == QLatin1Char('1');
    return p;
}

std::vector<TPiece> TFallingBlocks::buildPieceList(const RandomSource &random) const
{
    const QStringList &lines = m_useDefaultPieces ? DefaultPieces : m_pieces;
    std::vector<TPiece> list;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines.at(i).trimmed().isEmpty())
            continue;
        TPiece p = ParsePiece(lines.at(i), m_color, random);
        bool any = false;
        for (int y = 0; y < p.Size; ++y)
            for (int x = 0; x < p.Size; ++x)
                any = any || p.filled(x, y);
        if (!any)
            throw OrvellaError(QStringLiteral("Piece %1 defines an empty matrix: \"%2\".")
                                   .arg(i)
                                   .arg(lines.at(i).section(QLatin1Char(';'), 3, 3)));
        list.push_back(p);
    }
    if (list.empty())
        throw OrvellaError(QStringLiteral("No pieces to initialize."));
    return list;
}

// --- the game --------------------------------------------------------------------

void TFallingBlocks::NewGame()
{
    m_generator.seed(quint32(QDateTime::currentMSecsSinceEpoch()));
    m_playing = false;
    for (auto &column : m_cells)
        column.fill(0);
    m_next = -1;
    changed();
    try {
        m_list = buildPieceList([this](int bound) { return draw(bound); });
    } catch (const OrvellaError &) {
        m_list.clear();
        throw;
    } catch (const std::exception &) {
        m_list.clear();
        throw OrvellaError(QStringLiteral("Piece initialization failure; could not start a new game."));
    }
    m_playing = true;
    bringInPiece();
}

void TFallingBlocks::bringInPiece()
{
    const int count = int(m_list.size());
    m_currentIndex = m_next >= 0 && m_next < count ? m_next : draw(count);
    m_current = m_list[std::size_t(m_currentIndex)];
    m_next = draw(count);

    int minX = TPiece::MaxSize, maxX = -1, minY = TPiece::MaxSize, maxY = -1;
    for (int y = 0; y < m_current.Size; ++y)
        for (int x = 0; x < m_current.Size; ++x)
            if (m_current.filled(x, y)) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    // Centred on the board; a piece with a block in its top matrix row shows only
    // its lowest row, in row 1.
    m_px = m_columns / 2 - (maxX - minX + 1) / 2 - minX + 1;
    m_py = minY - maxY + 1;
    changed();
    if (OnNewPiece)
        OnNewPiece(m_currentIndex);
}

bool TFallingBlocks::fits(const TPiece &piece, int px, int py) const
{
    if (!m_playing)
        return false;
    for (int y = 0; y < piece.Size; ++y)
        for (int x = 0; x < piece.Size; ++x) {
            if (!piece.filled(x, y))
                continue;
            const int column = px + x, row = py + y;
            if (column < 1 || column > m_columns || row > m_rows)
                return false;
            if (row >= 1 && m_cells[column][row] != 0)
                return false;
        }
    return true;
}

void TFallingBlocks::MoveLeft()
{
    if (fits(-1, 0)) {
        --m_px;
        changed();
    }
}

void TFallingBlocks::MoveRight()
{
    if (fits(1, 0)) {
        ++m_px;
        changed();
    }
}

void TFallingBlocks::Rotate(Direction direction)
{
    if (!m_playing)
        return;
    TPiece turned = m_current;
    const int s = m_current.Size;
    for (auto &row : turned.cells)
        row.fill(false);
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x) {
            if (!m_current.filled(x, y))
                continue;
            if (direction == Direction::Anticlockwise)
                turned.cells[s - 1 - x][y] = true; // (x, y) -> (y, s-1-x)
            else
                turned.cells[x][s - 1 - y] = true; // (x, y) -> (s-1-y, x)
        }
    if (fits(turned, m_px, m_py)) {
        m_current = turned;
        changed();
    }
}

void TFallingBlocks::Drop()
{
    int k = 0;
    while (fits(0, k + 1))
        ++k;
    if (k > 0) {
        m_py += k;
        changed();
    }
}

void TFallingBlocks::StepDown()
{
    if (!m_playing)
        return;
    if (fits(0, 1)) {
        ++m_py;
        changed();
        return;
    }
    land();
}

void TFallingBlocks::land()
{
    // The game is over when the piece cannot lie wholly on the board where it
    // stopped: part of it still above row 1, or on blocks it came in over.
    bool outside = false;
    for (int y = 0; y < m_current.Size; ++y)
        for (int x = 0; x < m_current.Size; ++x)
            outside = outside || (m_current.filled(x, y) && m_py + y < 1);
    if (outside || !fits(0, 0)) {
        m_playing = false;
        changed();
        if (OnGameEnd)
            OnGameEnd();
        return;
    }
    for (int y = 0; y < m_current.Size; ++y)
        for (int x = 0; x < m_current.Size; ++x)
            if (m_current.filled(x, y))
                m_cells[m_px + x][m_py + y] = m_currentIndex + 1;
    const int removed = removeFullRows();
    changed();
    if (removed > 0 && OnLineFull)
        OnLineFull(removed);
    bringInPiece();
}

int TFallingBlocks::removeFullRows()
{
    int removed = 0;
    int row = m_rows;
    while (row >= 1) {
        bool full = true;
        for (int c = 1; c <= m_columns && full; ++c)
            full = m_cells[c][row] != 0;
        if (!full) {
            --row;
            continue;
        }
        for (int c = 1; c <= m_columns; ++c) {
            for (int r = row; r > 1; --r)
                m_cells[c][r] = m_cells[c][r - 1];
            m_cells[c][1] = 0;
        }
        ++removed;
    }
    return removed;
}

int TFallingBlocks::FreeRows() const
{
    for (int row = 1; row <= m_rows; ++row)
        for (int c = 1; c <= m_columns; ++c)
            if (m_cells[c][row] != 0)
                return row - 1;
    return m_rows;
}

// --- score -----------------------------------------------------------------------

int FallingBlocksScore::levelFor(int removedBefore)
{
    return removedBefore <= 15 ? 0 : std::min(MaxLevel, (removedBefore - 1) / 15);
}

int FallingBlocksScore::intervalFor(int level)
{
    static constexpr int Intervals[MaxLevel + 1] = {1000, 800, 640, 512, 409, 327, 262, 209,
                                                    167,  134, 107, 85,  68,  54,  43};
    return Intervals[std::clamp(level, 0, MaxLevel)];
}

int FallingBlocksScore::bonus(int lines, int interval)
{
    return int(divRoundHalfEven(__int128(5) * lines, std::max(interval, 1)));
}

void FallingBlocksScore::linesRemoved(int lines, int freeRows)
{
    level = levelFor(removedRows);
    interval = intervalFor(level);
    removedRows += lines;
    score += freeRows + bonus(lines, interval) - 1;
}
