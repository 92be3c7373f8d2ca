#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
struct Document;

// The fields of a dunning letter, shared by the project window's dunning page and
// the dunning window: the first address (sender line, name, street, postcode and
// town), the invoice address with its box "Rechnungsanschrift links", the project,
// letter and customer numbers with the date and the UID, the invoice and level
// labels, and the letter's text. The pages around it keep their frame, buttons and
// commands and decide what the labels say.
class MahnungPanel : public QWidget
{
    Q_OBJECT
public:
    // Where the dunning page and the dunning window show the letter differently;
    // each host turns on what it has.
    struct Options
    {
        // The letter number as a list of the project's stored letters (cbNummer);
        // without it a read-only field for the number of a new letter (edtMNr).
        bool storedLetterList = false;
        // The two addresses in groups titled "Anschrift" and "Rechnungsanschrift".
        bool titledAddresses = false;
        // The sender line in a smaller font than the address below it.
        bool smallSender = false;
        // Long lines of the letter wrapped at the edge of the field.
        bool wrapLines = false;
        // The tab key reaches the date after the UID instead of after the project number.
        bool dateLastInTabOrder = false;
    };

    explicit MahnungPanel(const Options &options, QWidget *parent = nullptr);

    // The addresses, the box and the text of the letter.
    void showLetter(const Document &letter);
    // What the fields hold into the letter: date, box, both addresses and the lines.
    void readLetter(Document &letter) const;
    // Opens the fields a user may change (addresses, UID, date, box and text), or
    // closes them; the numbers stay read-only.
    void setEditable(bool editable);

    QLineEdit *edtEFirma, *edtName, *edtStrasse, *edtPlzOrt;
    QCheckBox *chkLinks;
    QLineEdit *edtName2, *edtStrasse2, *edtPlzOrt2;
    QLineEdit *edtPrNr;
    QComboBox *cbNummer = nullptr; // with storedLetterList
    QLineEdit *edtMNr = nullptr;   // without
    QLineEdit *edtKNr, *edtUID;
    QDateEdit *dtDatum;
    QLabel *lblInvoice, *lblLevel;
    QPlainTextEdit *memLetter;

Q_SIGNALS:
    // A field changed: typed into, the box clicked, the text or the date changed
    // (also when set by the program).
    void fieldChanged();
};
