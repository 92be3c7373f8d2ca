// The main window's contact list: loading and searching it, the selection and
// what it enables, the choice between companies and persons and the search tabs.
// The rest of the behaviour is in TForm1.cpp, the controls in TForm1Layout.cpp.
#include "TForm1.h"

#include "AppState.h"
#include "BackupRules.h"
#include "CommandAvailability.h"
#include "DataMaintenance.h"
#include "Dialogs.h"
#include "WindowHub.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>

namespace {

const QString AllCategories = QStringLiteral("Alle Kategorien");

} // namespace

bool TForm1::companiesChosen() const
{
    return rbFirmen->isChecked();
}

bool TForm1::blockedShown() const
{
    return chkGesperrt->isChecked();
}

void TForm1::setSelectionCommands(bool enabled)
{
    for (QObject *c : std::initializer_list<QObject *>{qlEditEntry, popEditEntry, actEditEntry, tbEditEntry, tbDetail,
                                                       tbLetter})
        m_availability.setEnabledIfAvailable(c, enabled);
}

void TForm1::LoadContactList()
{
    {
        const QSignalBlocker block(cbKategorie);
        cbKategorie->clear();
    }
    m_model.clear();
    setSelectionCommands(false);
    const bool companies = companiesChosen();
    m_model.setRows(m_store.load(companies, chkGesperrt->isChecked()));
    const QSignalBlocker block(cbKategorie);
    cbKategorie->addItem(AllCategories);
    cbKategorie->addItems(m_store.categories(companies));
    cbKategorie->setCurrentIndex(0);
    showEmptyListHint();
}

void TForm1::SearchContacts()
{
    m_model.clear();
    const QString category = cbKategorie->currentIndex() > 0 ? cbKategorie->currentText() : QString();
    m_model.setRows(m_store.search(companiesChosen(), chkGesperrt->isChecked(), category, tabSearch->currentIndex(),
                                   edtSearch->text()));
    showEmptyListHint();
}

void TForm1::showEmptyListHint()
{
    // an empty list still holds its one blank row
    lblEmptyList->setVisible(m_model.cell(0, ContactListModel::Id).isEmpty() && m_store.noContactsYet());
}

void TForm1::UpdateSelection()
{
    const int row = lstContacts->currentIndex().isValid() ? lstContacts->currentIndex().row() : -1;
    const QString id = m_model.cell(row, ContactListModel::Id);
    const bool has = !id.isEmpty();
    if (has)
        m_state.SelectedID = id.toLongLong();
    setSelectionCommands(has);
    for (QObject *c : std::initializer_list<QObject *>{qlNewProject, popNewProject, actNewProject})
        m_availability.setEnabledIfAvailable(c, has);
    ApplyPermissions();
    const QString first = m_model.cell(row, ContactListModel::Name);
    if (!m_availability.isUnavailable(tbLetter))
        tbLetter->setToolTip(companiesChosen()
                                 ? first + QStringLiteral(" einen Brief schreiben")
                                 : first + QLatin1Char(' ') + m_model.cell(row, ContactListModel::Second)
                                       + QStringLiteral(" einen Brief schreiben"));
    lblStatusAddress->setText(m_model.cell(row, ContactListModel::Art) + QLatin1Char(' ')
                              + m_model.cell(row, ContactListModel::Strasse));
}

void TForm1::Reselect()
{
    for (int r = 0; r < m_model.dataRows(); ++r) {
        if (m_model.cell(r, ContactListModel::Id) == QString::number(m_state.SelectedID)) {
            lstContacts->setCurrentIndex(m_model.index(r, 0));
            lstContacts->selectRow(r);
            return;
        }
    }
}

void TForm1::choiceChanged(bool companies)
{
    m_state.CompaniesShown = companies;
    if (companies) {
        edtSearch->setEnabled(true);
        m_model.setSecondHeading(QStringLiteral("Branche"));
    } else {
        m_model.setSecondHeading(QStringLiteral("Nachname"));
        const QSignalBlocker block(cbKategorie);
        if (cbKategorie->count() > 0)
            cbKategorie->setCurrentIndex(0);
    }
    m_choiceMade = true;
    LoadContactList();
    const QSignalBlocker block(tabSearch);
    if (companies && tabSearch->currentIndex() == int(SearchTab::Personenname))
        tabSearch->setCurrentIndex(int(SearchTab::Firmenname));
    if (!companies && tabSearch->currentIndex() == int(SearchTab::Firmenname))
        tabSearch->setCurrentIndex(int(SearchTab::Personenname));
    CommandAvailability::setControlEnabled(qlNewProject, false);
    CommandAvailability::setControlEnabled(actNewProject, false);
}

void TForm1::searchTabChanged(int index)
{
    edtSearch->clear();
    if (companiesChosen() && index == int(SearchTab::Personenname)) {
        m_state.dialogs.information(QStringLiteral("Suche nach Personennamen bei Firmen nicht möglich!"));
        const QSignalBlocker block(tabSearch);
        tabSearch->setCurrentIndex(int(SearchTab::Firmenname));
    } else if (!companiesChosen() && index == int(SearchTab::Firmenname)) {
        m_state.dialogs.information(QStringLiteral("Suche nach Firmennamen bei Personen nicht möglich!"));
        const QSignalBlocker block(tabSearch);
        tabSearch->setCurrentIndex(int(SearchTab::Personenname));
    }
    // On the number tab only digits can be typed or pasted.
    if (tabSearch->currentIndex() == int(SearchTab::Kundennummer)) {
        edtSearch->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,15}")),
                                                                edtSearch));
        edtSearch->setText(QStringLiteral("1"));
    } else {
        edtSearch->setValidator(nullptr);
    }
    SearchContacts();
}

void TForm1::searchKeyReleased()
{
    if (tabSearch->currentIndex() == int(SearchTab::Kundennummer) && edtSearch->text().startsWith(QLatin1Char('0'))) {
        edtSearch->clear();
        m_state.dialogs.information(QStringLiteral("Bitte die Kundennummer ohne führende Nullen eingeben"));
        return;
    }
    SearchContacts();
}

void TForm1::searchFieldDoubleClicked()
{
    if (!m_state.hub)
        return;
    if (edtSearch->text() == QLatin1String("zimtsterne")) {
        if (DataMaintenance::permitted(m_state))
            m_state.hub->showDataMaintenance();
        else
            m_state.dialogs.information(BackupRules::NoPermission);
    }
    else if (tabSearch->currentIndex() == int(SearchTab::Begriff)
             && edtSearch->text().toUpper() == QLatin1String("QUADER"))
        m_state.hub->showGame();
}
