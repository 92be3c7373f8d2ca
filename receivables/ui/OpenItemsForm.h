#pragma once

#include "OpenItem.h"

#include "NumberEdit.h"

#include <QColor>
#include <array>

class Dialogs;
class QAbstractItemModel;
class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;
class QToolButton;
class QTreeWidget;
class QWidget;

// The controls of the open-items window and their layout: the tool bar with the
// list exports and the search, the filter buttons, the list, and below it the
// invoice, contact and booking panels. The window inherits the form, so the
// controls are its own members; what they do is connected by the window.
struct OpenItemsForm
{
    // Builds the controls into window, the list showing items. "Schließen" closes
    // the window and the context menu pops up over the window, the filters and the
    // list; nothing else is connected. dialogs tells a refused amount in
    // "Gezahlter Betrag".
    void buildForm(QDialog *window, QAbstractItemModel *items, Dialogs &dialogs);

    // The text colour of a field or button; an invalid colour is the palette's.
    static void setTextColour(QWidget *w, const QColor &colour);

    QToolButton *btnPrintList, *btnCsv, *btnKontoauszug;
    QAction *actClose, *actPrintList, *actPdfList, *actCsvList;
    QLineEdit *edtSearch;
    QComboBox *cbSearchKind;
    std::array<QPushButton *, OpenItemRules::FilterCount> btnFilter{};
    QPushButton *btnWeiter;
    QTableView *lstItems;
    QLineEdit *edtDatum, *edtAblauf, *edtGebucht, *edtRNr;
    QLabel *lblSkonto, *lblMitSkonto;
    QPushButton *btnSkontoText, *btnTeilbuchung;
    QLineEdit *edtBetrag, *edtNachGutschrift, *edtNachTeilzahlung, *edtMitSkonto, *edtOhneSkonto;
    QLineEdit *edtPersonFirma, *edtTelefonAP, *edtTelefon, *edtStrasse, *edtPlz, *edtOrt;
    QTreeWidget *lstAnsprechpartner;
    QPushButton *btnMahnung;
    QGroupBox *grpBuchen;
    NumberEdit *edtGezahlt;
    QLineEdit *edtRest;
    QDateEdit *dtBuchung;
    QCheckBox *chkMitSkonto;
    QPushButton *btnErfassen;
    QMenu *contextMenu;
    std::array<QAction *, OpenItemRules::FilterCount> actFilter{};
    QAction *actChangeBooking;
};
