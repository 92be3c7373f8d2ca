#pragma once

class MahnungPanel;
class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QDialog;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QToolBar;
class QToolButton;

// The controls of the dunning window and their layout: the menu, the tool bar with
// its print, word-processor and print-job bands, the buttons beside the letter and
// the letter's fields. The window inherits the form, so the controls are its own
// members; what they do is connected by the window.
struct MahnungForm
{
    // Builds the controls into window. "Schließen" closes it, the view menu shows and
    // hides the bands; nothing else is connected.
    void buildForm(QDialog *window);

    QAction *actClose, *actDruckTool, *actWordTool, *actDruckJob, *actOptions;
    QToolBar *toolBar;
    QAction *pnlDruck, *pnlWord, *pnlJob;
    QComboBox *cbDrucker, *cbVorlage, *cbDruckJob;
    QSpinBox *spnKopien;
    QToolButton *btnDruckPanel, *btnWord, *btnDruckJob;
    QToolButton *btnSave, *btnPrint;
    // The letter's fields, and each of them as the window's own.
    MahnungPanel *letter;
    QLineEdit *edtEFirma, *edtName, *edtStrasse, *edtPlzOrt;
    QCheckBox *chkLinks;
    QLineEdit *edtName2, *edtStrasse2, *edtPlzOrt2;
    QLineEdit *edtPrNr, *edtMNr, *edtKNr, *edtUID;
    QDateEdit *dtDatum;
    QLabel *lblInvoice, *lblLevel;
    QPlainTextEdit *memLetter;
};
