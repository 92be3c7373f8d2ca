#pragma once

#include <QtGlobal>

// Where the contact editor ("Firmen und Personen Anlegen/Ändern") stands, without
// its widgets: which tab it shows and which kind of contact the main window chose,
// the company number (IDF) and person number (IDN) it works on, whether those
// contacts are stored, whether the fields can be changed and whether what was
// typed is saved. The editor's commands move it with the operations below, at the
// points where they touch the fields, and ask it what the buttons allow.
//
// Company and person numbers come from the one customer-number counter, and a
// number drawn for a contact that was never saved is drawn again for the next
// one. So IDF and IDN can briefly be the same number; then the contact on the tab
// the number was drawn for keeps it and the other side lets it go.
class ContactEditSession
{
public:
    // What the link buttons of both tabs allow.
    struct LinkButtons
    {
        bool linkCompany = false;       // person tab, "Firma zuordnen"
        bool unlinkFromPerson = false;  // person tab, "Verbindung lösen"
        bool unlinkFromCompany = false; // company tab, "Verbindung lösen"
        bool linkPerson = false;        // company tab, "Person zur Firma zuordnen"
    };

    qint64 currentIDF() const { return m_currentIDF; }
    qint64 currentIDN() const { return m_currentIDN; }
    bool isNewEntry() const { return m_newEntry; }
    bool isEditable() const { return m_editable; }
    bool isSaved() const { return m_saved; }
    bool companyExists() const { return m_companyExists; }
    bool personExists() const { return m_personExists; }
    // The "Firmen"/"Personen" choice that the tabs follow.
    bool companiesChosen() const { return m_companiesChosen; }
    bool companyTabShown() const { return m_companyTabShown; }
    // The row of the company's person list last shown in the person panel, -1 for none.
    int personRow() const { return m_personRow; }

    // --- what the main window hands over

    // A new company (company) or person; nothing loaded, no number yet.
    void prepareNew(bool company);
    // The stored company (company) or person with this number.
    void prepareShow(qint64 number, bool company);

    // --- transitions

    void setEditable(bool editable);
    // Something was typed or picked: unsaved, while the fields can be changed.
    void fieldChanged();
    void markSaved();
    void markUnsaved();
    // The tab widget now shows the company tab (else the person tab).
    void tabShown(bool company);
    void choose(bool companies);
    // The fields were emptied to load again: nothing is taken as stored or unsaved.
    void beginReload();
    void companyLoaded();
    // The person was read; companyOfPerson is the company it belongs to, 0 for none.
    void personLoaded(qint64 companyOfPerson);
    // The person of this row of the company's person list is shown in its panel.
    void personShown(int row, qint64 IDN);
    // The company tab shows no particular person of the company.
    void noPersonShown();
    // The person of the company tab was unlinked from the company.
    void personUnlinked();
    void setCompanyNumber(qint64 IDF);
    void setPersonNumber(qint64 IDN);
    // When both numbers are the same, the company (companyKeepsSharedNumber) or
    // the person keeps it and the other one is left without a number.
    void companyKeepsSharedNumber();
    void personKeepsSharedNumber();
    // "Neue Firma" / "Neue Person" with a freshly drawn number, not stored and unsaved.
    void startNewCompany(qint64 IDF);
    void startNewPerson(qint64 IDN);
    // What the editor shows is taken as a new entry (a company without a name).
    void treatAsNewEntry();
    void companyNotStored();
    void personNotStored();
    void companyInserted();
    void personInserted();
    // The company was saved: the entry is no longer new and nothing is unsaved.
    void companySaved();

    // --- what the window derives

    // "Position:" of the person tab can be typed only for a person in a company.
    bool positionEditable() const;
    LinkButtons linkButtons(bool writePermitted, bool companyNamed) const;
    // The extended data belong to a stored contact with a name: the company or
    // the person, as the tab shown says.
    bool extendedDataMayOpen(bool companyNamed, bool personNamed, bool permitted) const;
    // The number of the contact on the tab shown.
    qint64 contactOnTab() const;
    // Closing asks first when changes can be lost.
    bool hasUnsavedChanges() const;

private:
    qint64 m_currentIDF = 0;
    qint64 m_currentIDN = 0;
    bool m_newEntry = false;
    bool m_editable = false;
    bool m_saved = true;
    bool m_companyExists = false;
    bool m_personExists = false;
    bool m_companiesChosen = true;
    bool m_companyTabShown = true;
    int m_personRow = -1;
};
