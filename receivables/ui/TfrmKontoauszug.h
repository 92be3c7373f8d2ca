#pragma once

#include "StatementReview.h"

#include <QDialog>
#include <memory>

class AppState;
class QLabel;
class QPushButton;
class QTableWidget;

// "Kontoauszug": the entries of the bank statement files the user chose, each
// with the invoices it pays, coloured by how sure the matching is; the user ticks,
// changes or leaves each, and "Buchen" books the ticked ones.
class TfrmKontoauszug : public QDialog
{
    Q_OBJECT
public:
    enum Column { ColBook, ColDate, ColPayer, ColPurpose, ColAmount, ColInvoices, ColNote, ColumnCount };

    explicit TfrmKontoauszug(AppState &state, QWidget *parent = nullptr);
    ~TfrmKontoauszug() override;

    // "Auszug einlesen…": lets the user choose files and reads them; false when
    // none was chosen or they were refused (the message is shown).
    bool cmdOpen();
    // Reads the files and lists their entries; false and a message for a file
    // refused, and then the list is empty.
    bool load(const QStringList &files);
    // "Buchen"
    void cmdBook();

    const StatementReview &review() const { return *m_review; }

    QTableWidget *tblEntries;
    QLabel *lblFiles, *lblSummary;
    QPushButton *btnOpen, *btnBook, *btnClose;

private:
    void fill();
    void fillRow(int row);
    void cellChanged(int row, int column);

    AppState &m_state;
    std::unique_ptr<BankImportStore> m_store;
    std::unique_ptr<StatementReview> m_review;
    bool m_filling = false;
};
