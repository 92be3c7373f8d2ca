#pragma once

#include "ContactStore.h"
#include "ContactTypes.h"

#include <QDialog>

class AppState;
class GridModel;
class GridView;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Firma / Person zuordnen": picks the other side of a person–company link from
// a searchable list. From a company it lists persons (person mode), from a
// person it lists companies (company mode). Persons that already belong to a
// company are greyed and cannot be chosen. The window only chooses: its caller
// stores the link (assignmentChosen).
class TfrmFirmaPersonZuordnen : public QDialog
{
    Q_OBJECT
public:
    enum class Mode { Person, Company };

    TfrmFirmaPersonZuordnen(AppState &state, QWidget *parent = nullptr);

    // Person mode: a person is sought for this company.
    void prepareForCompany(qint64 IDF, const QString &companyName);
    // Company mode: a company is sought for this person.
    void prepareForPerson(qint64 IDN, const QString &anrede, const QString &vname, const QString &nname);
    // List deactivated contacts instead of active ones, as the main window's
    // "Gesperrte Einträge anzeigen" asks.
    void setBlockedEntries(bool blocked) { m_blocked = blocked; }

    Mode mode() const { return m_mode; }
    // The window's activation: every filter emptied, the list loaded.
    void Activate();
    // Loads the list with the category and the search fields.
    void LoadList();
    // A click on a list row.
    void RowClicked(int row);
    // "&OK": hands the chosen link to the caller and closes.
    void ChooseRow();

Q_SIGNALS:
    void assignmentChosen(qint64 IDN, qint64 IDF, const QString &position);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void searchTyped(QLineEdit *typed);
    void setInfo(const QString &text);

    AppState &m_state;
    ContactStore m_store;
    Mode m_mode = Mode::Person;
    qint64 m_id = 0;
    QString m_companyName;
    QString m_anrede;
    QString m_vname;
    QString m_nname;
    bool m_blocked = false;
    QList<AssignCandidate> m_rows;

    QComboBox *m_category;
    QPlainTextEdit *m_info;
    QLineEdit *m_number;
    QLineEdit *m_company;
    QLineEdit *m_lastName;
    QLineEdit *m_position;
    GridModel *m_model;
    GridView *m_list;
    QPushButton *m_ok;
};
