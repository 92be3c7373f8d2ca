#pragma once

#include "Amount.h"
#include "EntryFields.h"
#include "NumberEdit.h"

#include <QString>
#include <initializer_list>

class Dialogs;
class QBoxLayout;
class QDialog;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QToolBar;
class QWidget;

// What the small dialogs of the document pages share: window flags without
// minimise and maximise, the percentage field, the close bar and the button row.
namespace DialogParts {

inline constexpr Qt::WindowFlags Flags =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// A button that does not take Enter from the fields.
QPushButton *button(const QString &caption, const QString &objectName, QWidget *parent);
// The tool bar with the one button that closes the dialog (reject).
QToolBar *closeBar(QDialog *dialog);
// Buttons right-aligned in one row.
QBoxLayout *buttonRow(std::initializer_list<QPushButton *> buttons);
// Wide enough for "100,00" and no wider.
void sizePercentField(QLineEdit *field);

// The percentage in a "%" field: 0 when empty. Throws ConversionError with the
// number fields' message for a text that cannot be stored.
Amount percentOf(const NumberEdit *field);

// The form that "Rabatt" and "Skonto" share: "Text" and "%" side by side, and
// the buttons "Eintragen", "Eintrag Ändern", "Eintrag Löschen" and "Abbrechen".
// Enter in the text moves on to the percentage.
struct TextPercentForm
{
    // label names the dialog in the number field's messages ("Rabatt").
    TextPercentForm(QDialog *dialog, Dialogs &dialogs, const QString &label);
    // The close bar, the fields and the button row as the dialog's layout; rows
    // added to fields before are laid out with them.
    void layOut(QDialog *dialog) const;

    QLineEdit *text;
    NumberEdit *percent;
    QPushButton *enter, *change, *remove, *cancel;
    QGridLayout *fields;
};

} // namespace DialogParts
