#include "TfrmFiPe.h"

#include "AppState.h"
#include "CompanyPage.h"
#include "ContactGrid.h"
#include "Dialogs.h"
#include "PersonPage.h"
#include "TfrmFirmaPersonZuordnen.h"

#include <QLineEdit>
#include <QPushButton>

// The editor's links between persons and companies: the assignment window it
// opens, the link made there, undoing a link, and what the link buttons and the
// person tab's company panel show.

void TfrmFiPe::setBlockedEntriesShown(bool shown)
{
    m_assign->setBlockedEntries(shown);
}

void TfrmFiPe::updateLinkButtons()
{
    const ContactEditSession::LinkButtons b = m_session.linkButtons(m_state.perm(2), !m_company->name().isEmpty());
    m_person->btnLinkCompany->setEnabled(b.linkCompany);
    m_person->btnUnlink->setEnabled(b.unlinkFromPerson);
    m_company->btnUnlink->setEnabled(b.unlinkFromCompany);
    m_company->btnLinkPerson->setEnabled(b.linkPerson);
}

// The person tab's panel shows the company of the company tab, unless that
// company's number has just gone over to the person.
void TfrmFiPe::copyCompanyToPersonPanel()
{
    const CompanyRecord c = m_company->record();
    LinkedCompany panel;
    panel.IDF = m_session.currentIDF() == m_session.currentIDN() ? 0 : m_session.currentIDF();
    panel.name = c.name;
    panel.branche = c.branche;
    panel.telefon = c.telefon;
    panel.position = m_person->edtPosition->text();
    panel.strasse = c.mainAddress.strasse;
    panel.plz = c.mainAddress.plz;
    panel.ort = c.mainAddress.ort;
    panel.note = c.note;
    m_person->showLinkedCompany(panel);
}

void TfrmFiPe::LinkPerson()
{
    // a link to a company that is not stored would point nowhere
    if (!m_session.companyExists()) {
        m_state.dialogs.information(QStringLiteral("Bitte die Firma zuerst mit \"Übernehmen\" speichern."));
        return;
    }
    m_assign->prepareForCompany(m_session.currentIDF(), m_company->name());
    m_assign->show();
    m_assign->raise();
    m_assign->activateWindow();
    m_session.markUnsaved();
}

void TfrmFiPe::LinkCompany()
{
    if (!m_session.personExists()) {
        m_state.dialogs.information(QStringLiteral("Bitte die Person zuerst mit \"Übernehmen\" speichern."));
        return;
    }
    m_assign->prepareForPerson(m_session.currentIDN(), m_person->edtAnrede->text(), m_person->edtFirstName->text(),
                               m_person->edtLastName->text());
    m_assign->show();
    m_assign->raise();
    m_assign->activateWindow();
    m_session.markUnsaved();
}

void TfrmFiPe::assignmentChosen(qint64 IDN, qint64 IDF, const QString &position)
{
    m_store.linkPerson(IDN, IDF, position);
    reloadLinks(IDN, IDF);
    m_person->btnLinkCompany->setEnabled(false);
}

// After a link was made or undone only the link data are read again, so what
// the user has typed into the fields stays.
void TfrmFiPe::reloadLinks(qint64 IDN, qint64 IDF)
{
    if (m_session.companyTabShown()) {
        m_company->setPersons(m_store.companyPersons(m_session.currentIDF()));
        m_company->clearPersonDetails();
        m_session.noPersonShown();
        int row = m_company->selectedPersonRow();
        for (int r = 0; r < m_company->personRowCount(); ++r)
            if (IDF == m_session.currentIDF() && m_company->personAt(r) == IDN)
                row = r;
        if (m_company->personAt(row) > 0)
            ShowPersonDetails(row);
    } else {
        m_session.setCompanyNumber(m_state.dmCommon.GetFirmaOfPerson(m_session.currentIDN()));
        if (m_session.currentIDF() > 0)
            m_person->showLinkedCompany(m_store.linkedCompany(m_session.currentIDN()));
        else
            m_person->clearLinkedCompany();
        m_person->setPositionEditable(m_session.positionEditable());
    }
    updateLinkButtons();
}

void TfrmFiPe::UnlinkFromCompany()
{
    const int row = m_company->selectedPersonRow();
    const QString text = QStringLiteral("Sie sind im Begriff die Verbindung von ") + m_company->name()
        + QStringLiteral(" ") + QStringLiteral("mit ") + m_company->personCell(row, PlAnredeTitel) + QLatin1Char(' ')
        + m_company->personCell(row, PlVorname) + QLatin1Char(' ') + m_company->personCell(row, PlNachname)
        + QLatin1Char(' ') + QStringLiteral("zu lösen!");
    if (m_state.dialogs.question(text, Dialogs::Buttons::YesNo) == Dialogs::Answer::Yes) {
        m_store.unlinkPerson(m_session.currentIDN(), m_session.currentIDF());
        m_session.personUnlinked();
        reloadLinks(0, 0);
    }
    SetEditable(true);
}

void TfrmFiPe::UnlinkFromPerson()
{
    const QString text = QStringLiteral("Sie sind im Begriff die Verbindung von ") + m_person->edtFirstName->text()
        + QLatin1Char(' ') + m_person->edtLastName->text() + QStringLiteral(" zu lösen!");
    if (m_state.dialogs.question(text, Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes)
        return;
    m_store.unlinkPerson(m_session.currentIDN(), m_session.currentIDF());
    reloadLinks(0, 0);
}
