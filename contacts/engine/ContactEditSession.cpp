#include "ContactEditSession.h"

void ContactEditSession::prepareNew(bool company)
{
    m_currentIDF = 0;
    m_currentIDN = 0;
    m_newEntry = true;
    m_companiesChosen = company;
    m_personRow = -1;
}

void ContactEditSession::prepareShow(qint64 number, bool company)
{
    m_newEntry = false;
    m_companiesChosen = company;
    m_currentIDF = company ? number : 0;
    m_currentIDN = company ? 0 : number;
    m_personRow = -1;
}

void ContactEditSession::setEditable(bool editable)
{
    m_editable = editable;
}

void ContactEditSession::fieldChanged()
{
    if (m_editable)
        m_saved = false;
}

void ContactEditSession::markSaved()
{
    m_saved = true;
}

void ContactEditSession::markUnsaved()
{
    m_saved = false;
}

void ContactEditSession::tabShown(bool company)
{
    m_companyTabShown = company;
}

void ContactEditSession::choose(bool companies)
{
    m_companiesChosen = companies;
}

void ContactEditSession::beginReload()
{
    m_saved = true;
    m_companyExists = false;
    m_personExists = false;
}

void ContactEditSession::companyLoaded()
{
    m_companyExists = true;
}

void ContactEditSession::personLoaded(qint64 companyOfPerson)
{
    m_currentIDF = companyOfPerson;
    m_personExists = true;
}

void ContactEditSession::personShown(int row, qint64 IDN)
{
    m_personRow = row;
    m_currentIDN = IDN;
}

void ContactEditSession::noPersonShown()
{
    m_currentIDN = 0;
}

void ContactEditSession::personUnlinked()
{
    m_currentIDN = 0;
    m_personRow = -1;
}

void ContactEditSession::setCompanyNumber(qint64 IDF)
{
    m_currentIDF = IDF;
}

void ContactEditSession::setPersonNumber(qint64 IDN)
{
    m_currentIDN = IDN;
}

void ContactEditSession::companyKeepsSharedNumber()
{
    if (m_currentIDF == m_currentIDN)
        m_currentIDN = 0;
}

void ContactEditSession::personKeepsSharedNumber()
{
    if (m_currentIDF == m_currentIDN)
        m_currentIDF = 0;
}

void ContactEditSession::startNewCompany(qint64 IDF)
{
    m_currentIDF = IDF;
    m_currentIDN = 0;
    m_companyExists = false;
    m_saved = false;
}

void ContactEditSession::startNewPerson(qint64 IDN)
{
    m_currentIDN = IDN;
    m_personExists = false;
    m_saved = false;
}

void ContactEditSession::treatAsNewEntry()
{
    m_newEntry = true;
}

void ContactEditSession::companyNotStored()
{
    m_companyExists = false;
}

void ContactEditSession::personNotStored()
{
    m_personExists = false;
}

void ContactEditSession::companyInserted()
{
    m_companyExists = true;
}

void ContactEditSession::personInserted()
{
    m_personExists = true;
    m_newEntry = false;
}

void ContactEditSession::companySaved()
{
    m_saved = true;
    m_newEntry = false;
}

bool ContactEditSession::positionEditable() const
{
    return m_editable && m_currentIDF > 0;
}

ContactEditSession::LinkButtons ContactEditSession::linkButtons(bool writePermitted, bool companyNamed) const
{
    const bool on = m_editable && writePermitted;
    LinkButtons b;
    b.linkCompany = on && m_currentIDF == 0;
    b.unlinkFromPerson = on && m_currentIDF != 0;
    b.unlinkFromCompany = on && m_currentIDN != 0;
    b.linkPerson = on && companyNamed;
    return b;
}

bool ContactEditSession::extendedDataMayOpen(bool companyNamed, bool personNamed, bool permitted) const
{
    const bool named = m_companyTabShown ? m_companyExists && companyNamed : m_personExists && personNamed;
    return named && permitted;
}

qint64 ContactEditSession::contactOnTab() const
{
    return m_companyTabShown ? m_currentIDF : m_currentIDN;
}

bool ContactEditSession::hasUnsavedChanges() const
{
    return !m_saved && m_editable;
}
