#include "TfrmFirmaPersonZuordnen.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "ContactGrid.h"
#include "Dialogs.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
enum CandidateColumn { CaName, CaSecond, CaPLZ, CaOrt, CaTelefon, CaColumnCount };
const QString NoCategory = QStringLiteral("Ohne Kategorie");
} // namespace

TfrmFirmaPersonZuordnen::TfrmFirmaPersonZuordnen(AppState &state, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_state(state), m_store(state)
{
    setObjectName(QStringLiteral("TfrmFirmaPersonZuordnen"));
    setWindowTitle(QStringLiteral("Firma / Person zuordnen"));
    setModal(false);
    resize(742, 524);

    auto *toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("tlbAssign"));
    QAction *close = toolBar->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Schließen"));
    close->setObjectName(QStringLiteral("actAssignClose"));
    connect(close, &QAction::triggered, this, &QDialog::close);

    m_category = new QComboBox(this);
    m_category->setObjectName(QStringLiteral("cboAssignCategory"));
    m_category->setMinimumContentsLength(20);
    m_info = new QPlainTextEdit(this);
    m_info->setObjectName(QStringLiteral("memAssignInfo"));
    m_info->setReadOnly(true);
    m_info->setFocusPolicy(Qt::NoFocus);
    m_info->setMaximumHeight(m_info->fontMetrics().lineSpacing() * 3 + 12);

    auto *search = new QGroupBox(QStringLiteral("&Suche"), this);
    search->setObjectName(QStringLiteral("grpAssignSearch"));
    m_number = new QLineEdit(search);
    m_number->setObjectName(QStringLiteral("edtAssignNumber"));
    m_number->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_number));
    m_company = new QLineEdit(search);
    m_company->setObjectName(QStringLiteral("edtAssignCompany"));
    m_lastName = new QLineEdit(search);
    m_lastName->setObjectName(QStringLiteral("edtAssignLastName"));
    m_position = new QLineEdit(search);
    m_position->setObjectName(QStringLiteral("edtAssignPosition"));
    auto *sg = new QGridLayout(search);
    sg->addWidget(new QLabel(QStringLiteral("Kunden-Nr."), search), 0, 0);
    sg->addWidget(new QLabel(QStringLiteral("Firma"), search), 0, 1);
    sg->addWidget(new QLabel(QStringLiteral("Nachname"), search), 0, 2);
    sg->addWidget(new QLabel(QStringLiteral("Position in der Firma welche zugeordnet wird"), search), 0, 3);
    sg->addWidget(m_number, 1, 0);
    sg->addWidget(m_company, 1, 1);
    sg->addWidget(m_lastName, 1, 2);
    sg->addWidget(m_position, 1, 3);
    sg->setColumnStretch(1, 2);
    sg->setColumnStretch(2, 2);
    sg->setColumnStretch(3, 3);

    m_model = new GridModel({QStringLiteral("Name"), QStringLiteral("Nachname / Branche"), QStringLiteral("PLZ"),
                             QStringLiteral("Ort"), QStringLiteral("Telefon")},
                            CaColumnCount, this);
    m_list = new GridView(this);
    m_list->setObjectName(QStringLiteral("grdAssignList"));
    m_list->setGridModel(m_model);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setColumnWidth(CaSecond, 150);
    m_list->setColumnWidth(CaPLZ, 60);
    m_list->setColumnWidth(CaOrt, 150);
    m_list->viewport()->installEventFilter(this);
    QPalette p = m_list->palette();
    p.setColor(QPalette::Base, Qt::white);
    m_list->setPalette(p);

    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_ok->setObjectName(QStringLiteral("btnAssignOk"));
    m_ok->setAutoDefault(false);
    auto *cancel = new QPushButton(QStringLiteral("Beenden / &Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("btnAssignClose"));
    cancel->setAutoDefault(false);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Kategorie:"), this));
    top->addWidget(m_category);
    top->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(toolBar);
    layout->addLayout(top);
    layout->addWidget(m_info);
    layout->addWidget(search);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    Dialogs &d = m_state.dialogs;
    connect(m_category, &QComboBox::activated, this, Guarded(d, [this] { LoadList(); }));
    for (QLineEdit *e : {m_number, m_company, m_lastName})
        connect(e, &QLineEdit::textEdited, this, [this, e, &d] { RunCommand(d, [this, e] { searchTyped(e); }); });
    connect(m_list, &QAbstractItemView::clicked, this,
            [this, &d](const QModelIndex &i) { RunCommand(d, [this, i] { RowClicked(i.row()); }); });
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this, &d](const QModelIndex &i) {
        RunCommand(d, [this, i] {
            RowClicked(i.row());
            if (m_ok->isEnabled())
                ChooseRow();
        });
    });
    connect(m_ok, &QPushButton::clicked, this, Guarded(d, [this] { ChooseRow(); }));
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
}

void TfrmFirmaPersonZuordnen::setInfo(const QString &text)
{
    setWindowTitle(text);
    m_info->setPlainText(text);
}

void TfrmFirmaPersonZuordnen::prepareForCompany(qint64 IDF, const QString &companyName)
{
    m_mode = Mode::Person;
    m_id = IDF;
    m_companyName = companyName;
    setInfo(QStringLiteral("Der Firma ") + companyName + QStringLiteral(" eine Person zuordnen"));
}

void TfrmFirmaPersonZuordnen::prepareForPerson(qint64 IDN, const QString &anrede, const QString &vname,
                                               const QString &nname)
{
    m_mode = Mode::Company;
    m_id = IDN;
    m_anrede = anrede;
    m_vname = vname;
    m_nname = nname;
    setInfo(vname + QLatin1Char(' ') + nname + QStringLiteral(" einer Firma zuordnen"));
}

void TfrmFirmaPersonZuordnen::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        RunCommand(m_state.dialogs, [this] { Activate(); });
}

bool TfrmFirmaPersonZuordnen::eventFilter(QObject *watched, QEvent *event)
{
    // the name column takes a quarter of the list plus 50 pixels
    if (watched == m_list->viewport() && event->type() == QEvent::Resize)
        m_list->setColumnWidth(CaName, m_list->viewport()->width() / 4 + 50);
    return QDialog::eventFilter(watched, event);
}

void TfrmFirmaPersonZuordnen::Activate()
{
    const bool companies = m_mode == Mode::Company;
    m_category->clear();
    m_category->addItem(NoCategory);
    m_category->addItems(m_store.categories(companies));
    m_number->clear();
    m_company->clear();
    m_lastName->clear();
    m_position->clear();
    m_company->setEnabled(companies);
    m_lastName->setEnabled(!companies);
    m_ok->setEnabled(false);
    LoadList();
}

void TfrmFirmaPersonZuordnen::searchTyped(QLineEdit *typed)
{
    for (QLineEdit *e : {m_number, m_company, m_lastName})
        if (e != typed)
            e->clear();
    if (typed == m_number && m_number->text().startsWith(QLatin1Char('0'))) {
        m_number->clear();
        m_state.dialogs.information(QStringLiteral("Bitte die Kundennummer ohne führende Nullen eingeben"));
        return;
    }
    LoadList();
}

void TfrmFirmaPersonZuordnen::LoadList()
{
    ContactStore::CandidateFilter f;
    if (m_category->currentIndex() > 0)
        f.category = m_category->currentText();
    f.number = m_number->text();
    f.company = m_company->isEnabled() ? m_company->text() : QString();
    f.lastName = m_lastName->isEnabled() ? m_lastName->text() : QString();
    f.blocked = m_blocked;
    m_rows = m_store.candidates(m_mode == Mode::Company, f);
    QList<QStringList> grid;
    QList<bool> greyed;
    for (const AssignCandidate &c : std::as_const(m_rows)) {
        grid << QStringList{c.name, c.second, c.plz, c.ort, c.telefon};
        greyed << c.linked;
    }
    m_model->setRows(grid);
    m_model->setGreyedRows(greyed);
    m_ok->setEnabled(false);
}

void TfrmFirmaPersonZuordnen::RowClicked(int row)
{
    if (row < 0 || row >= m_rows.size()) {
        m_ok->setEnabled(false);
        return;
    }
    m_list->setCurrentRow(row);
    const AssignCandidate &c = m_rows[row];
    if (!c.linked) {
        if (m_mode == Mode::Person)
            setInfo(QStringLiteral("Der Firma ") + m_companyName + QStringLiteral(" die Person ") + c.name
                    + QLatin1Char(' ') + c.second + QStringLiteral(" zuordnen"));
        else
            setInfo(QStringLiteral("Der Person ") + m_anrede + QLatin1Char(' ') + m_nname + QStringLiteral(" der Firma ")
                    + c.name + QStringLiteral(" zuordnen"));
        m_ok->setEnabled(true);
        return;
    }
    m_ok->setEnabled(false);
    const QString person = c.name + QLatin1Char(' ') + c.second;
    m_info->setPlainText(person + QStringLiteral(" kann nicht der Firma: ") + m_companyName
                         + QStringLiteral(" zugeordnet werden.\n") + person + QStringLiteral(" ist schon der Firma: \"")
                         + m_store.companyOfPerson(c.id) + QStringLiteral("\" zugeordnet!"));
    setWindowTitle(QStringLiteral("Personen der Firma ") + m_companyName + QStringLiteral(" zuordnen"));
}

void TfrmFirmaPersonZuordnen::ChooseRow()
{
    const int row = m_list->currentIndex().row();
    if (!m_ok->isEnabled() || row < 0 || row >= m_rows.size() || m_rows[row].linked)
        return;
    const qint64 chosen = m_rows[row].id;
    const qint64 IDN = m_mode == Mode::Person ? chosen : m_id;
    const qint64 IDF = m_mode == Mode::Person ? m_id : chosen;
    close();
    Q_EMIT assignmentChosen(IDN, IDF, m_position->text());
}
