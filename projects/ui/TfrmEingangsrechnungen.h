#pragma once

#include "ReceivedInvoiceStore.h"

#include <QDialog>

class AppState;
class QLabel;
class QPushButton;
class QTableWidget;

// "Eingangsrechnungen": the electronic invoices filed from suppliers, by due date,
// overdue open ones in red and paid ones in grey. Each opens as the invoice it is;
// each can be marked paid (or open again) and its original file saved. Nothing
// here deletes a filed invoice.
class TfrmEingangsrechnungen : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmEingangsrechnungen(AppState &state, QWidget *parent = nullptr);

    void reload();
    // The row's invoice in the window "Eingangsrechnung".
    void cmdShow();
    // "Als bezahlt markieren" / "Als offen markieren".
    void cmdToggleState();
    // Writes the original file, byte for byte, where the user chooses.
    bool cmdSaveOriginal();
    // "E-Rechnung öffnen…": a new file, to look at and file.
    void cmdAdd();

    const QList<FiledInvoice> &rows() const { return m_rows; }
    // An invoice filed from here created a supplier contact.
    bool createdSupplier() const { return m_createdSupplier; }
    const FiledInvoice *current() const;

    QTableWidget *tblInvoices;
    QLabel *lblSummary;
    QPushButton *btnShow, *btnState, *btnSave, *btnAdd, *btnClose;

private:
    void updateButtons();

    AppState &m_state;
    QList<FiledInvoice> m_rows;
    bool m_createdSupplier = false;
};
