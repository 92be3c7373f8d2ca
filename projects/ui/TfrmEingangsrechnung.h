#pragma once

#include "ReceivedInvoice.h"

#include <QDialog>
#include <QStringList>
#include <functional>

class AppState;
class QLabel;
class QPrinter;
class QPushButton;
class QTextBrowser;

// "Eingangsrechnung": an electronic invoice a supplier sent (XRechnung or other
// CII or UBL XML, or a ZUGFeRD PDF), shown as a readable invoice with what the
// check of its figures and required data found; it can be printed and saved as PDF.
class TfrmEingangsrechnung : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmEingangsrechnung(AppState &state, QWidget *parent = nullptr);
    ~TfrmEingangsrechnung() override;

    // Reads the file and shows it; false with a German message when it is refused.
    bool openFile(const QString &path);
    // Shows an invoice filed earlier, from the data set.
    bool openFiled(qint64 id);
    // "Ablegen": files the shown invoice with its supplier (see ReceivedInvoiceStore);
    // asks first when the check found failures and when the seller is not stored.
    // Returns the ID of the filed row, 0 when nothing was filed.
    qint64 cmdFile();
    // "Öffnen…": lets the user choose the file first.
    bool cmdOpen();
    void cmdPrint();
    // "Als PDF speichern…"; false when nothing was written.
    bool cmdPdf();

    // Lets the user choose the printer; false for Cancel (tests put in their own).
    void setPrinterChooser(std::function<bool(QPrinter &)> chooser) { m_choosePrinter = std::move(chooser); }

    const ReceivedInvoice &invoice() const { return m_invoice; }
    const QStringList &failures() const { return m_failures; }
    // Filing created a supplier contact (the contact list shows it after a reload).
    bool createdSupplier() const { return m_createdSupplier; }

    QTextBrowser *txtInvoice;
    QLabel *lblCheck;
    QPushButton *btnOpen, *btnFile, *btnPrint, *btnPdf, *btnClose;

private:
    AppState &m_state;
    ReceivedInvoice m_invoice;
    QStringList m_failures;
    QString m_fileName;
    QByteArray m_content;
    qint64 m_filed = 0; // the ID of the shown invoice's row once it is filed
    bool m_createdSupplier = false;

    bool show(const QByteArray &content, const QString &name);
    void showFiledState();
    std::function<bool(QPrinter &)> m_choosePrinter;
};
