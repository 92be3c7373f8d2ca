#pragma once

#include "Document.h"
#include "DocumentHead.h"

#include <QWidget>

class AppState;
class DocumentStore;
class MahnungPanel;
class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QToolButton;
struct ProjectValue;

// The dunning page of the project window: shows the dunning letters of the
// project, lets the user change a stored letter and save it again. New letters come
// only from the dunning run, so the placeholder entry at the top of the list (the
// next free number) cannot be saved.
class DunningPage : public QWidget, public DocumentHead
{
    Q_OBJECT
public:
    static constexpr int MaxLines = 25;

    DunningPage(AppState &state, DocumentStore &store, QWidget *parent = nullptr);

    bool isClean() const { return m_clean; }
    void setClean(bool clean);
    qint64 currentNumber() const { return m_number; }
    bool isEditMode() const { return m_editMode; }
    const Document &document() const { return m_doc; }
    // The letter with the page's fields as they stand, saved or not: what is
    // printed, exported and saved.
    Document shownDocument() const;

    void build();
    void copyProject(const ProjectValue &project);
    void clearPage();
    void applyPermissions(bool projectsWrite, bool invoicesRead);

    void pickDocument(int listIndex);
    void openDocument(qint64 number);
    bool cmdSave();
    void cmdChange();

    // The letter's fields, in the panel below the page's frame (edtEFirma and the
    // other fields of the head too).
    QLabel *lblInvoice, *lblLevel;
    QLineEdit *edtName2, *edtStrasse2, *edtPlzOrt2, *edtUID;
    QCheckBox *chkLinks;
    QDateEdit *dtDatum;
    QComboBox *cbNummer;
    QPlainTextEdit *memLetter;
    QToolButton *btnSave, *btnPrint, *btnMail;
    QMenu *contextMenu;
    QAction *actSave, *actPrint, *actMail, *actChange, *actDelete;

Q_SIGNALS:
    void modifiedChanged();
    // After a save, for the window's status bar ("Mahnung 000007 gespeichert.").
    void saved(const QString &message);
    void printRequested();
    void mailRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    void setEditMode(bool edit);
    void updateCommands();
    void showLetter();
    void markModified();
    void fillNumberList();
    bool storedLetterShown() const;

    AppState &m_state;
    DocumentStore &m_store;
    MahnungPanel *m_letter = nullptr;
    Document m_doc;
    qint64 m_number = 0;
    bool m_stored = false;
    bool m_clean = true;
    bool m_editMode = false;
    bool m_canWrite = true;
    bool m_filling = false;
};
