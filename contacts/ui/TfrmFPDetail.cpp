#include "TfrmFPDetail.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "ContactGrid.h"
#include "Dialogs.h"
#include "FieldLook.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString DefaultTitle = QStringLiteral("Firma / Person Detail");
const QString DefaultNameLabel = QStringLiteral("Titel - Vor - Nachname:");

QLineEdit *readOnlyField(QWidget *parent, const char *name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    SetFieldEditable(e, false);
    return e;
}

QTableView *list(QWidget *parent, const char *name, GridModel *model, const QList<int> &widths)
{
    auto *view = new QTableView(parent);
    view->setObjectName(QLatin1String(name));
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setStretchLastSection(true);
    const QFontMetrics fm = view->horizontalHeader()->fontMetrics();
    for (int c = 0; c < model->columnCount(); ++c) {
        if (c + 1 == widths.size()) {
            // the last visible column takes the rest of the width
        } else if (c < widths.size()) {
            // the classic widths, widened where the heading needs more room
            const QString heading = model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
            view->setColumnWidth(c, qMax(widths[c], fm.horizontalAdvance(heading) + 16));
        } else {
            view->setColumnHidden(c, true); // the stored numbers travel with the row
        }
    }
    // four rows in view; more scroll
    view->setMinimumHeight(view->horizontalHeader()->sizeHint().height()
                           + 4 * view->verticalHeader()->defaultSectionSize() + 4);
    view->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return view;
}

} // namespace

TfrmFPDetail::TfrmFPDetail(AppState &state, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_state(state), m_store(state)
{
    setObjectName(QStringLiteral("TfrmFPDetail"));
    setWindowTitle(DefaultTitle);
    setModal(false);

    auto *toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("tlbFPDetail"));
    auto *toolClose = new QToolButton(toolBar);
    toolClose->setObjectName(QStringLiteral("btnToolClose"));
    toolClose->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    toolClose->setText(QStringLiteral("Beenden"));
    toolClose->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(toolClose, &QToolButton::clicked, this, &QDialog::close);
    toolBar->addWidget(toolClose);

    m_name = readOnlyField(this, "edtName");
    m_phone = readOnlyField(this, "edtPhone");
    m_category = readOnlyField(this, "edtCategory");
    m_nameLabel = new QLabel(DefaultNameLabel, this);
    m_nameLabel->setObjectName(QStringLiteral("lblName"));
    auto *head = new QGridLayout;
    head->addWidget(m_nameLabel, 0, 0);
    head->addWidget(m_name, 0, 1, 1, 2);
    head->addWidget(new QLabel(QStringLiteral("Telefon / Kateggorie:"), this), 1, 0);
    head->addWidget(m_phone, 1, 1);
    head->addWidget(m_category, 1, 2);
    head->setColumnStretch(1, 1);
    head->setColumnStretch(2, 1);

    auto *comGroup = new QGroupBox(QStringLiteral("Kommunikationsdaten"), this);
    comGroup->setObjectName(QStringLiteral("grpCommunications"));
    m_comModel = new GridModel({QStringLiteral("Bezeichnung"), QStringLiteral("Inhalt")}, ComColumnCount, this);
    m_comList = list(comGroup, "grdCommunications", m_comModel, {100, 296});
    auto *cv = new QVBoxLayout(comGroup);
    cv->addWidget(m_comList);

    m_personsGroup = new QGroupBox(QStringLiteral("Zugeordnete Personen / Ansprechpartner"), this);
    m_personsGroup->setObjectName(QStringLiteral("grpContactPersons"));
    m_personModel = new GridModel({QStringLiteral("Anrede/Titel"), QStringLiteral("Vorname"), QStringLiteral("Nachname")},
                                  PlColumnCount, this);
    m_personList = list(m_personsGroup, "grdContactPersons", m_personModel, {70, 110, 215});
    m_personPhone = readOnlyField(m_personsGroup, "edtContactPhone");
    m_personPosition = readOnlyField(m_personsGroup, "edtContactPosition");
    auto *pl = new QGridLayout(m_personsGroup);
    pl->addWidget(m_personList, 0, 0, 1, 3);
    pl->addWidget(new QLabel(QStringLiteral("Telefon / Position:"), m_personsGroup), 1, 0);
    pl->addWidget(m_personPhone, 1, 1);
    pl->addWidget(m_personPosition, 1, 2);
    pl->setColumnStretch(1, 1);
    pl->setColumnStretch(2, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(toolBar);
    layout->addLayout(head);
    layout->addWidget(comGroup, 1);
    layout->addWidget(m_personsGroup, 1);

    Dialogs &d = m_state.dialogs;
    connect(m_personList, &QAbstractItemView::clicked, this,
            [this, &d](const QModelIndex &i) { RunCommand(d, [this, i] { ShowContactPerson(i.row()); }); });
    connect(m_personList->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, &d](const QModelIndex &i) { RunCommand(d, [this, i] { ShowContactPerson(i.row()); }); });

    // the classic 405 × 297 leaves the lists too little room with today's fonts
    resize(sizeHint().expandedTo(QSize(480, 420)));
    clear();
}

void TfrmFPDetail::clear()
{
    m_number = 0;
    setWindowTitle(DefaultTitle);
    m_nameLabel->setText(DefaultNameLabel);
    for (QLineEdit *e : {m_name, m_phone, m_category, m_personPhone, m_personPosition})
        e->clear();
    m_comModel->clear();
    m_personModel->clear();
}

bool TfrmFPDetail::showContact(qint64 contactNumber)
{
    clear();
    const std::optional<ContactDetail> d = m_store.load(contactNumber);
    if (!d) {
        m_personsGroup->setEnabled(false);
        m_state.dialogs.error(QStringLiteral("Fehler beim Aufruf!"));
        return false;
    }
    m_number = contactNumber;
    setWindowTitle(d->company ? QStringLiteral("Firma Detail") : QStringLiteral("Person Detail"));
    m_nameLabel->setText(d->company ? QStringLiteral("Firmenname") : QStringLiteral("Vor - Nachname"));
    m_name->setText(d->nameLine);
    m_phone->setText(d->telefon);
    m_category->setText(d->kategorie);
    m_name->setCursorPosition(0);

    m_comModel->setRows(ContactGrid::fromCommunications(d->communications));
    QList<QStringList> persons;
    for (const AssignedPerson &p : d->persons) {
        QStringList row(PlColumnCount);
        row[PlAnredeTitel] = QStringList{p.anrede, p.titel}.join(QLatin1Char(' ')).trimmed();
        row[PlVorname] = p.vname;
        row[PlNachname] = p.nname;
        row[PlIDN] = QString::number(p.IDN);
        persons.append(row);
    }
    m_personModel->setRows(persons);
    m_personsGroup->setEnabled(d->company);
    if (d->company) {
        m_personList->setCurrentIndex(m_personModel->index(0, PlVorname));
        ShowContactPerson(0);
    }

    show();
    raise();
    activateWindow();
    m_comList->setFocus();
    return true;
}

void TfrmFPDetail::ShowContactPerson(int row)
{
    const qint64 IDN = m_personModel->cell(row, PlIDN).toLongLong();
    if (IDN <= 0) {
        m_personPhone->clear();
        m_personPosition->clear();
        return;
    }
    const ContactPersonLine line = m_store.contactPerson(IDN);
    m_personPhone->setText(line.telefon);
    m_personPosition->setText(line.position);
}

void TfrmFPDetail::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_comList->setFocus();
}
