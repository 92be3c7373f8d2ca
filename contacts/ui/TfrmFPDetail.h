#pragma once

#include "ContactDetailStore.h"

#include <QDialog>

class AppState;
class GridModel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTableView;

// "Firma / Person Detail": the customer of a project at a glance, read-only:
// name, telephone and category, the communication entries and, for a company,
// its contact persons with telephone and position. Created once and shown
// modelessly by showContact; it writes nothing.
class TfrmFPDetail : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmFPDetail(AppState &state, QWidget *parent = nullptr);

    // Fills the window with the company or person of that number and shows it.
    // A number that is neither gives "Fehler beim Aufruf!", leaves the window
    // empty and returns false (a hidden window then stays hidden).
    bool showContact(qint64 contactNumber);
    // The contact shown; 0 when none.
    qint64 contactNumber() const { return m_number; }

    // A click on a row of the contact-person list.
    void ShowContactPerson(int row);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void clear();

    AppState &m_state;
    ContactDetailStore m_store;
    qint64 m_number = 0;

    QLabel *m_nameLabel;
    QLineEdit *m_name, *m_phone, *m_category;
    GridModel *m_comModel;
    QTableView *m_comList;
    QGroupBox *m_personsGroup;
    GridModel *m_personModel;
    QTableView *m_personList;
    QLineEdit *m_personPhone, *m_personPosition;
};
