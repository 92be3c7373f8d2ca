#include "TextLinesGrid.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace {
enum Column { TextColumn, IdColumn, ColumnCount };
}

TextLinesGrid::TextLinesGrid(int startRows, QWidget *parent)
    : QTableWidget(startRows, ColumnCount, parent), m_startRows(startRows)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSectionResizeMode(TextColumn, QHeaderView::Stretch);
    setColumnHidden(IdColumn, true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    setTabKeyNavigation(false);
    connect(this, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int, int) { keepFreeLine(row); });
    clearLines();
}

void TextLinesGrid::setLines(const QList<ArticleTextRow> &lines)
{
    clearContents();
    setRowCount(std::max(m_startRows, int(lines.size()) + 1));
    for (int r = 0; r < lines.size(); ++r) {
        setItem(r, TextColumn, new QTableWidgetItem(lines[r].text));
        setItem(r, IdColumn, new QTableWidgetItem(lines[r].id));
    }
}

void TextLinesGrid::setTexts(const QStringList &texts)
{
    QList<ArticleTextRow> rows;
    for (const QString &t : texts)
        rows.append({QString(), t});
    setLines(rows);
}

QList<ArticleTextRow> TextLinesGrid::lines() const
{
    QList<ArticleTextRow> out;
    for (int r = 0; r < rowCount(); ++r) {
        const QTableWidgetItem *t = item(r, TextColumn);
        const QTableWidgetItem *id = item(r, IdColumn);
        out.append({id ? id->text() : QString(), t ? t->text() : QString()});
    }
    return out;
}

QStringList TextLinesGrid::texts() const
{
    QStringList out;
    for (const ArticleTextRow &row : lines())
        out << row.text;
    return out;
}

bool TextLinesGrid::hasText() const
{
    for (const QString &t : texts())
        if (!t.isEmpty())
            return true;
    return false;
}

void TextLinesGrid::clearLines()
{
    clearContents();
    setRowCount(m_startRows);
}

void TextLinesGrid::moveDown()
{
    const int row = std::max(currentRow(), 0) + 1;
    keepFreeLine(row);
    setCurrentCell(std::min(row, rowCount() - 1), TextColumn);
}

void TextLinesGrid::keepFreeLine(int currentRow)
{
    if (currentRow >= rowCount() - 1)
        setRowCount(currentRow + 2);
}

void TextLinesGrid::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState) {
        moveDown();
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void TextLinesGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Enter in a line being edited ends the edit and goes on to the next line.
    QTableWidget::closeEditor(editor, hint);
    if (hint == QAbstractItemDelegate::SubmitModelCache)
        moveDown();
}
