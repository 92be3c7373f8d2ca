#pragma once

#include "ArticleStore.h"

#include <QTableWidget>

// The one-column grid of an article's additional text. Each line keeps the key
// of its artikeltext row in a hidden column beside it (empty for a typed line).
// Enter moves to the line below, and moving into the last line adds another,
// so there is always room for one more line.
class TextLinesGrid : public QTableWidget
{
    Q_OBJECT
public:
    explicit TextLinesGrid(int startRows, QWidget *parent = nullptr);

    // Replaces the lines; the grid keeps at least its start rows and one free
    // line at the end.
    void setLines(const QList<ArticleTextRow> &lines);
    void setTexts(const QStringList &texts);
    // Every line with its key, empty ones included, in grid order.
    QList<ArticleTextRow> lines() const;
    QStringList texts() const;
    bool hasText() const;
    // Back to the start rows, all empty.
    void clearLines();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void moveDown();
    void keepFreeLine(int currentRow);

    int m_startRows;
};
