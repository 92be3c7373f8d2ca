#include "ContactGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>

// --- GridModel ---------------------------------------------------------------

GridModel::GridModel(const QStringList &headings, int columnCount, QObject *parent)
    : QAbstractTableModel(parent), m_headings(headings), m_columns(columnCount)
{
    clear();
}

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return cell(index.row(), index.column());
    case Qt::ToolTipRole: {
        const QString text = cell(index.row(), index.column());
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    case Qt::ForegroundRole:
        if (isGreyed(index.row()))
            return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
        return {};
    case Qt::BackgroundRole:
        if (isGreyed(index.row()))
            return QApplication::palette().brush(QPalette::Button);
        return {};
    default:
        return {};
    }
}

bool GridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !m_editable)
        return false;
    const QString text = value.toString();
    if (text == cell(index.row(), index.column()))
        return true;
    m_rows[index.row()][index.column()] = text;
    Q_EMIT dataChanged(index, index);
    Q_EMIT userEdited(index.row(), index.column());
    return true;
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_editable)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return section < m_headings.size() ? m_headings[section] : QString();
}

void GridModel::setEditable(bool editable)
{
    // the view asks for the flags when an edit starts, so the current cell can stay
    m_editable = editable;
}

QString GridModel::cell(int row, int column) const
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_columns)
        return QString();
    return m_rows[row][column];
}

void GridModel::setCell(int row, int column, const QString &text)
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_columns)
        return;
    m_rows[row][column] = text;
    const QModelIndex i = index(row, column);
    Q_EMIT dataChanged(i, i);
}

void GridModel::setRows(const QList<QStringList> &rows, int minRows)
{
    beginResetModel();
    m_rows.clear();
    m_greyed.clear();
    for (QStringList row : rows) {
        while (row.size() < m_columns)
            row << QString();
        m_rows << row.mid(0, m_columns);
    }
    while (m_rows.size() < minRows)
        m_rows << QStringList(QList<QString>(m_columns));
    endResetModel();
}

void GridModel::appendEmptyRow()
{
    const int row = int(m_rows.size());
    beginInsertRows({}, row, row);
    m_rows << QStringList(QList<QString>(m_columns));
    endInsertRows();
}

void GridModel::clear()
{
    setRows({}, 1);
}

void GridModel::setGreyedRows(const QList<bool> &greyed)
{
    m_greyed = greyed;
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(int(m_rows.size()) - 1, m_columns - 1));
}

// --- grid rules --------------------------------------------------------------

namespace ContactGrid {

QList<QStringList> fromAddresses(const QList<AddressRow> &rows)
{
    QList<QStringList> out;
    for (const AddressRow &a : rows)
        out << QStringList{a.art, a.strasse, a.plz, a.ort, a.land, a.ida};
    return out;
}

QList<AddressRow> toAddresses(const QList<QStringList> &rows)
{
    QList<AddressRow> out;
    for (const QStringList &r : rows)
        out << AddressRow{r.value(AdrBezeichnung), r.value(AdrStrasse), r.value(AdrPLZ),
                          r.value(AdrOrt), r.value(AdrLand), r.value(AdrIDA)};
    return out;
}

QList<QStringList> fromCommunications(const QList<ComRow> &rows)
{
    QList<QStringList> out;
    for (const ComRow &c : rows)
        out << QStringList{c.bez, c.inhalt, c.idc, c.code};
    return out;
}

QList<ComRow> toCommunications(const QList<QStringList> &rows)
{
    QList<ComRow> out;
    for (const QStringList &r : rows)
        out << ComRow{r.value(ComBezeichnung), r.value(ComInhalt), r.value(ComIDC), r.value(ComX)};
    return out;
}

bool addressGridNeedsRow(const QList<QStringList> &rows)
{
    if (rows.isEmpty())
        return true;
    const QStringList &last = rows.last();
    for (int c = AdrBezeichnung; c <= AdrLand; ++c)
        if (!last.value(c).isEmpty())
            return true;
    return false;
}

bool comGridNeedsRow(const QList<QStringList> &rows, int currentRow)
{
    if (rows.isEmpty())
        return true;
    const QStringList &last = rows.last();
    return !last.value(ComBezeichnung).isEmpty() || (!last.value(ComInhalt).isEmpty() && currentRow > 0);
}

bool addressRowHasText(const QStringList &row)
{
    return !row.value(AdrBezeichnung).isEmpty() || !row.value(AdrStrasse).isEmpty() || !row.value(AdrPLZ).isEmpty();
}

bool comRowHasText(const QStringList &row)
{
    return !row.value(ComBezeichnung).isEmpty() || !row.value(ComInhalt).isEmpty();
}

} // namespace ContactGrid

// --- GridView ------------------------------------------------------------------

namespace {

class GridDelegate : public QStyledItemDelegate
{
public:
    explicit GridDelegate(GridView *view) : QStyledItemDelegate(view), m_view(view) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *line = qobject_cast<QLineEdit *>(editor))
            QObject::connect(line, &QLineEdit::textEdited, m_view, &GridView::typing);
        return editor;
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (!m_view->currentRowHighlighted(index)) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        painter->save();
        painter->fillRect(option.rect, QColor(Qt::darkBlue));
        painter->setPen(Qt::white);
        const QRect r = option.rect.adjusted(2, 2, -2, -2);
        const QString text = option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, r.width());
        painter->drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text);
        painter->restore();
    }

private:
    GridView *m_view;
};

} // namespace

GridView::GridView(QWidget *parent) : QTableView(parent)
{
    setItemDelegate(new GridDelegate(this));
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setHighlightSections(false);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setEditable(false);
}

void GridView::setGridModel(GridModel *model)
{
    m_model = model;
    setModel(model);
    // the highlighted row follows the current cell
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, viewport(), qOverload<>(&QWidget::update));
    connect(model, &QAbstractItemModel::modelReset, viewport(), qOverload<>(&QWidget::update));
}

void GridView::setEditable(bool editable)
{
    if (m_model)
        m_model->setEditable(editable);
    setSelectionBehavior(editable ? SelectItems : SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(editable ? (DoubleClicked | EditKeyPressed | AnyKeyPressed | SelectedClicked) : NoEditTriggers);
    QPalette p = palette();
    p.setColor(QPalette::Base, editable ? QColor(Qt::white) : p.color(QPalette::Window));
    setPalette(p);
}

bool GridView::currentRowHighlighted(const QModelIndex &index) const
{
    if (!m_model || !m_rowHasText || !index.isValid() || index.row() != currentIndex().row())
        return false;
    return m_rowHasText(m_model->rows().value(index.row()));
}

void GridView::setCurrentRow(int row)
{
    if (!m_model || row < 0 || row >= m_model->rowCount())
        return;
    int column = 0;
    while (column < m_model->columnCount() - 1 && isColumnHidden(column))
        ++column;
    setCurrentIndex(m_model->index(row, column));
    selectRow(row);
}

void GridView::moveToNextCell()
{
    if (!m_model)
        return;
    const QModelIndex at = currentIndex();
    if (!at.isValid())
        return;
    for (int c = at.column() + 1; c < m_model->columnCount(); ++c) {
        if (!isColumnHidden(c)) {
            setCurrentIndex(m_model->index(at.row(), c));
            return;
        }
    }
    if (at.row() + 1 >= m_model->rowCount())
        return;
    for (int c = 0; c < m_model->columnCount(); ++c) {
        if (!isColumnHidden(c)) {
            setCurrentIndex(m_model->index(at.row() + 1, c));
            return;
        }
    }
}

void GridView::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState) {
        moveToNextCell();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void GridView::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Enter in a cell editor commits the cell and moves on, as Enter does outside it
    const bool enter = hint == QAbstractItemDelegate::SubmitModelCache;
    QTableView::closeEditor(editor, enter ? QAbstractItemDelegate::NoHint : hint);
    if (enter)
        moveToNextCell();
}
