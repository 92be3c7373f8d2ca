#pragma once

#include "DocumentHead.h"
#include "DocumentKind.h"

#include <QList>

class QAbstractItemModel;
class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QTableView;
class QToolButton;
class QWidget;
class ServiceDateFields;

// The controls of a document page and their layout, by kind: what is shown, where,
// with which captions and hints. The page wires them to its commands; the form
// knows nothing of the document or the store.
class DocumentPageForm : public DocumentHead
{
public:
    // Controls, named for tests.
    QGroupBox *grpSecond = nullptr;
    QLabel *lblNumber = nullptr, *lblUebernehmen = nullptr;
    QLineEdit *edtName2 = nullptr, *edtStrasse2 = nullptr, *edtPlzOrt2 = nullptr, *edtUID = nullptr;
    QCheckBox *chkLinks = nullptr, *chkPreis = nullptr;
    QDateEdit *dtDatum = nullptr;
    QComboBox *cbNummer = nullptr, *cbUebernehmen = nullptr;
    QTableView *tblLines = nullptr, *tblTotals = nullptr;
    QPlainTextEdit *memText = nullptr;
    QToolButton *btnNew = nullptr, *btnArticles = nullptr, *btnTakeOver = nullptr, *btnRabatt = nullptr,
                *btnSkonto = nullptr, *btnZusatztext = nullptr, *btnSave = nullptr, *btnPrint = nullptr;
    // "E-Rechnung speichern…", "Verlauf…" and the date of service: invoice and
    // credit note only.
    QToolButton *btnERechnung = nullptr, *btnVerlauf = nullptr;
    QAction *actERechnung = nullptr, *actVerlauf = nullptr;
    // "Per E-Mail senden…": every kind but the free document.
    QToolButton *btnMail = nullptr;
    QAction *actMail = nullptr;
    ServiceDateFields *serviceDates = nullptr;
    QMenu *contextMenu = nullptr;
    QAction *actArticles = nullptr, *actNew = nullptr, *actTakeOver = nullptr, *actSave = nullptr,
            *actPrint = nullptr, *actZusatztext = nullptr, *actRabatt = nullptr, *actSkonto = nullptr,
            *actChange = nullptr, *actDelete = nullptr;
    // "Inhalt des ... in ... übernehmen", one entry per permitted target; each
    // entry's data is the target kind's number.
    QList<QAction *> takeOverActions;

protected:
    // Builds the controls of a page of this kind into page, the lines and totals
    // shown from the two models.
    void buildForm(QWidget *page, DocumentKind kind, QAbstractItemModel *lines, QAbstractItemModel *totals);
    // The line edits of the page, for the modified mark.
    QList<QLineEdit *> lineEdits() const;
};
