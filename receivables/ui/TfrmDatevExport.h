#pragma once

#include <QDialog>

class AppState;
class QCheckBox;
class QDateEdit;
class QLabel;
class QPushButton;

// "DATEV-Export": writes the invoices, credit notes and payments of a period as a
// DATEV booking batch for the tax advisor, optionally with the customers' master
// data, into a folder the user chooses. A period that cannot be exported writes
// nothing and lists every reason in one message.
class TfrmDatevExport : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmDatevExport(AppState &state, QWidget *parent = nullptr);

    // The files written, empty when nothing was.
    QStringList cmdExport();

    QDateEdit *dtVon, *dtBis;
    QCheckBox *chkDebitoren;
    QLabel *lblSettings;
    QPushButton *btnExport, *btnClose;

private:
    AppState &m_state;
};
