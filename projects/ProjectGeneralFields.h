#pragma once

#include <QString>
#include <functional>

class QCheckBox;
class QComboBox;
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
              *edtRabattText = nullptr, *edtRabatt = nullptr, *edtSkontoText = nullptr, *edtSkonto = nullptr,
              *edtZahlungsziel = nullptr;
    QCheckBox *chkUID = nullptr;
    QComboBox *cbUSt = nullptr;

protected:
    // Creates the controls in their tab order. Labels, check box and drop-down
    // belong to group; edit makes each line edit with the objectName it is given.
    // The two windows name the Skonto fields differently.
    void createGeneralFields(QWidget *group, const std::function<QLineEdit *(const char *)> &edit,
                             const char *skontoTextName, const char *skontoName);
    // Lays the controls out in columns 0 to 2 from row 0 on; returns the next free row.
    int addGeneralRows(QGridLayout *grid, QWidget *group, const QString &skontoCaption) const;
    // Salutation and title only for a person; the name labels follow the contact.
    void showContactKind(bool company);
    // The name and commercial texts of the project into the line edits.
    void showGeneralTexts(const ProjectValue &v);
    // The fields as they stand, UID status and VAT rate included.
    void readGeneralFields(ProjectValue &v) const;
};
