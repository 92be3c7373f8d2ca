#pragma once

#include <QString>
#include <functional>

class Dialogs;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QVBoxLayout;
class QWidget;
struct Document;
struct ProjectValue;

// The head of a document page and of the dunning page: the first address (own
// company line, name, street, postcode and town) and the project and customer
// numbers. Both pages derive from it, so the fields stay members of the page.
class DocumentHead
{
public:
    // "Projekt Nr." and the project name the documents are written for.
    void setProject(qint64 projectNumber, const QString &projectName);
    // "Kunden Nr."
    void setCustomer(qint64 customer);

    QGroupBox *grpDocument = nullptr;
    QLabel *lblNoPermission = nullptr;
    QLineEdit *edtEFirma = nullptr, *edtName = nullptr, *edtStrasse = nullptr, *edtPlzOrt = nullptr,
              *edtPrNr = nullptr, *edtKNr = nullptr;

    // Asks whether the unsaved changes of a page are saved first; "Ja" runs save.
    // False when the user cancels or the save refuses.
    static bool askSaveChanges(Dialogs &dialogs, const std::function<bool()> &save);

protected:
    // "keine Berechtigung" (hidden at first) and the group of the document, titled
    // caption, below root; returns the group's row for the page's contents.
    QHBoxLayout *createFrame(QWidget *page, QVBoxLayout *root, const QString &caption);
    // The document is hidden behind "keine Berechtigung", or shown again.
    void showNoPermission(bool hidden);
    // The group "Anschrift" with the four fields of the first address; edit makes
    // each line edit with its objectName and placeholder.
    QGroupBox *createFirstAddress(QWidget *page,
                                  const std::function<QLineEdit *(const char *, const QString &)> &edit);
    // The project's own-company line and its address as the recipient.
    void showFirstAddress(const ProjectValue &p);
    void showFirstAddress(const Document &d);
    void readFirstAddress(Document &d) const;

    qint64 m_projectNumber = 0;
    QString m_projectName;
};

// What the project window's status bar says after a page saved its document:
// "Rechnung 000123 gespeichert."
QString SavedMessage(const QString &kindName, qint64 number);
