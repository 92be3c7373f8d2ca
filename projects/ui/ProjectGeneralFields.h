#pragma once

#include <QString>
#include <functional>

class QCheckBox;
class QComboBox;
class Dialogs;
class NumberEdit;
class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;
struct ProjectValue;

// The general data of a project as the new-project window and the project page
// show it: salutation and title, the two name lines (company and branch, or first
// and last name), UID with "UID verwenden", VAT rate, discount and Skonto text with
// their percentages and the net payment term. Both windows derive from it, so the
// controls stay members of the window.
class ProjectGeneralFields
{
public:
    QLabel *lblAnrede = nullptr, *lblVName = nullptr, *lblNName = nullptr;
    QLineEdit *edtAnrede = nullptr, *edtTitel = nullptr, *edtVName = nullptr, *edtNName = nullptr, *edtUID = nullptr,
              *edtRabattText = nullptr, *edtSkontoText = nullptr;
    NumberEdit *edtRabatt = nullptr, *edtSkonto = nullptr, *edtZahlungsziel = nullptr;
    QCheckBox *chkUID = nullptr;
    QComboBox *cbUSt = nullptr;

protected:
    // Creates the controls in their tab order. Labels, check box and drop-down
    // belong to group; edit makes each text field with the objectName it is given,
    // watch is called for each of the number fields (percentages and term), which
    // report what cannot be stored through dialogs. The two windows name the
    // Skonto fields differently.
    void createGeneralFields(QWidget *group, Dialogs &dialogs, const std::function<QLineEdit *(const char *)> &edit,
                             const std::function<void(QLineEdit *)> &watch, const char *skontoTextName,
                             const char *skontoName, const QString &skontoLabel);
    // Lays the controls out in columns 0 to 2 from row 0 on; returns the next free row.
    int addGeneralRows(QGridLayout *grid, QWidget *group, const QString &skontoCaption) const;
    // Salutation and title only for a person; the name labels follow the contact.
    void showContactKind(bool company);
    // The name and commercial texts of the project into the line edits.
    void showGeneralTexts(const ProjectValue &v);
    // The fields as they stand, UID status and VAT rate included.
    void readGeneralFields(ProjectValue &v) const;
};
