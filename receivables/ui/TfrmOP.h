#pragma once

#include "OpenItem.h"
#include "OpenItemsForm.h"
#include "OpenItemsModel.h"
#include "OpenItemsReport.h"
#include "Payment.h"

#include <QDialog>
#include <functional>
#include <memory>

class AppState;
class QLineEdit;
class QPrinter;
class ReceivablesStore;
class TfrmMahnung;

// The open-items window "offene / überfällige Rechnungen": lists invoices with
// their open item by filter, shows the amounts and the customer of the selected
// one, books payments and hands overdue invoices to the dunning window. Created
// once and shown modally; the filter survives between openings. The controls come
// from OpenItemsForm.
class TfrmOP : public QDialog, public OpenItemsForm
{
    Q_OBJECT
public:
    explicit TfrmOP(AppState &state, QWidget *parent = nullptr);
    ~TfrmOP() override;

    // The dunning window that "&Mahnung" opens, and how it is shown (modally,
    // unless a test puts something else in).
    void setDunningWindow(TfrmMahnung *window) { m_dunning = window; }
    void setDunningShower(std::function<void(TfrmMahnung &)> shower) { m_showDunning = std::move(shower); }
    // Lets the user choose the printer of "Liste drucken"; false for Cancel.
    void setPrinterChooser(std::function<bool(QPrinter &)> chooser) { m_choosePrinter = std::move(chooser); }

    // Each opening: the booking date becomes today and the list is loaded again.
    void activate();
    // Loads the list of the active filter and search, selects the row at the same
    // position again (or invoice when given and listed) and fills the panels.
    void reload(qint64 invoice = 0);
    OpenItemFilter filter() const { return m_filter; }
    // A filter chosen by its button empties the search field; from the menu it does not.
    void setFilter(OpenItemFilter filter, bool fromButton);
    void selectRow(int row);
    const OpenItemRow *currentRow() const;
    const OpenItemsModel &model() const { return m_model; }
    const PanelAmounts &panel() const { return m_panel; }
    OpenItemsReport report();

    // Commands.
    void cmdBook();
    void cmdChangeBooking();
    void cmdDunning();
    void cmdSkontoText();
    void cmdPostings();
    void cmdPrintList();
    void cmdPdfList();
    void cmdCsvList();
    // "Restbetrag" after a key in "Gezahlter Betrag" or a change of "Mit Skonto".
    void recomputeRemaining();

protected:
    void showEvent(QShowEvent *e) override;
    void done(int result) override;

private:
    void connectControls();
    void syncFilterControls();
    void clearPanels();
    void refreshPanels();
    void setAmount(QLineEdit *field, const std::optional<Amount> &amount, const QColor &colour = QColor());
    void setBookingEnabled(bool enabled);
    QString suggestedFile(const QString &suffix) const;

    AppState &m_state;
    std::unique_ptr<ReceivablesStore> m_store;
    OpenItemsModel m_model;
    QString m_currency;
    OpenItemFilter m_filter = OpenItemFilter::Overdue;
    InvoiceFigures m_figures;
    PanelAmounts m_panel;
    int m_row = 0;
    bool m_bookingForced = false;
    bool m_loading = false;
    TfrmMahnung *m_dunning = nullptr;
    std::function<void(TfrmMahnung &)> m_showDunning;
    std::function<bool(QPrinter &)> m_choosePrinter;
};
