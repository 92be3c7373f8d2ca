#include "CommunicationGroup.h"

#include "ContactGrid.h"
#include "Desktop.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QUrl>
#include <QVBoxLayout>

CommunicationGroup::CommunicationGroup(const QString &prefix, bool typeNeedsFullRow, QWidget *parent)
    : QGroupBox(QStringLiteral("Kommunikationsdaten"), parent), m_typeNeedsFullRow(typeNeedsFullRow)
{
    setObjectName(QStringLiteral("grp%1Communication").arg(prefix));
    m_model = new GridModel({QStringLiteral("Bezeichnung"), QStringLiteral("Inhalt"), QString(), QString()},
                            ComColumnCount, this);
    m_grid = new GridView(this);
    m_grid->setObjectName(QStringLiteral("grd%1Communication").arg(prefix));
    m_grid->setGridModel(m_model);
    m_grid->setColumnHidden(ComIDC, true);
    m_grid->setColumnHidden(ComX, true);
    m_grid->setColumnWidth(ComBezeichnung, 100);
    m_grid->setColumnWidth(ComInhalt, 279);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setRowHasText(&ContactGrid::comRowHasText);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("mnu%1CommunicationType").arg(prefix));
    const QStringList captions = {QStringLiteral("Telefonnummer"), QStringLiteral("Funktelefon"),
                                  QStringLiteral("Faxnummer"), QStringLiteral("E-Mail"),
                                  QStringLiteral("Internetadresse"), QStringLiteral("nicht aufgeführt")};
    const QString codes = typeCodes();
    for (int i = 0; i < codes.size(); ++i) {
        auto *a = m_menu->addAction(captions[i]);
        a->setObjectName(QStringLiteral("act%1Type%2").arg(prefix, codes[i]));
        a->setCheckable(true);
        const QChar code = codes[i];
        connect(a, &QAction::triggered, this, [this, code] { chooseType(code); });
        m_actions << a;
    }

    connect(m_grid, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        if (!m_canSave)
            return;
        showTypeOf(m_grid->currentIndex().row());
        m_menu->popup(m_grid->viewport()->mapToGlobal(pos));
    });
    connect(m_model, &GridModel::userEdited, this, [this](int row, int) { afterEdit(row); });
    connect(m_grid, &GridView::typing, this, &CommunicationGroup::changed);
    connect(m_grid, &QAbstractItemView::clicked, this, [this](const QModelIndex &i) { showTypeOf(i.row()); });
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &i) { activateRow(i.row()); });
    clear();
}

QString CommunicationGroup::typeCodes()
{
    return QStringLiteral("TMFEIN");
}

QAction *CommunicationGroup::typeAction(QChar code) const
{
    const int i = int(typeCodes().indexOf(code));
    return i < 0 ? nullptr : m_actions[i];
}

QList<ComRow> CommunicationGroup::rows() const
{
    return ContactGrid::toCommunications(m_model->rows());
}

void CommunicationGroup::showRows(const QList<ComRow> &rows)
{
    QList<QStringList> grid = ContactGrid::fromCommunications(rows);
    if (!grid.isEmpty())
        grid << QStringList();
    m_model->setRows(grid);
    m_grid->setCurrentRow(0);
    showTypeOf(0);
}

void CommunicationGroup::clear()
{
    showRows({});
}

void CommunicationGroup::setEditable(bool editable, bool canSave)
{
    m_canSave = canSave;
    m_grid->setEditable(editable);
}

void CommunicationGroup::afterEdit(int row)
{
    if (ContactGrid::comGridNeedsRow(m_model->rows(), row))
        m_model->appendEmptyRow();
    Q_EMIT changed();
}

void CommunicationGroup::showTypeOf(int row)
{
    const QString code = m_model->cell(row, ComX);
    for (QAction *a : std::as_const(m_actions))
        a->setChecked(false);
    if (code.size() == 1)
        if (QAction *a = typeAction(code[0]))
            a->setChecked(true);
}

void CommunicationGroup::chooseType(QChar code)
{
    const int row = m_grid->currentIndex().row();
    QAction *chosen = typeAction(code);
    if (!m_canSave || row < 0 || !chosen)
        return;
    if (m_typeNeedsFullRow && (m_model->cell(row, ComBezeichnung).isEmpty() || m_model->cell(row, ComInhalt).isEmpty())) {
        showTypeOf(row);
        return;
    }
    // the entry toggles: choosing the type the row has already takes it away
    const bool had = m_model->cell(row, ComX) == QString(code);
    m_model->setCell(row, ComX, had ? QString() : QString(code));
    showTypeOf(row);
    Q_EMIT changed();
}

void CommunicationGroup::activateRow(int row)
{
    if (m_canSave || m_model->cell(row, ComX) != QLatin1String("I"))
        return;
    const QString address = m_model->cell(row, ComInhalt).trimmed();
    if (address.isEmpty())
        return;
    // Only a web address is handed on: "www.example.de" becomes http://, while a
    // typed local path or another scheme (file:, javascript:) opens nothing.
    const bool web = address.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
                     || address.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
    if (!web && address.contains(QLatin1String("://")))
        return;
    const QUrl url(web ? address : QStringLiteral("http://") + address, QUrl::StrictMode);
    if (url.isValid() && !url.host().isEmpty())
        OpenWithDesktop(url);
}
