#pragma once

#include <QDialog>

class Dialogs;
class QPlainTextEdit;
class QPushButton;

// The question before an unsaved document is printed: a window without caption
// with the message and the buttons "&Probedruck", "Speichern u. &Drucken" and
// "&Abbrechen". Closing it any other way counts as "&Abbrechen".
class PrintQuestionDialog : public QDialog
{
    Q_OBJECT
public:
    enum Choice { Cancel = 1, SaveAndPrint = 2, TestPrint = 3 };

    explicit PrintQuestionDialog(const QString &message, QWidget *parent = nullptr);

    Choice choice() const { return m_choice; }

    QPlainTextEdit *memMessage;
    QPushButton *btnProbedruck, *btnSpeichernDrucken, *btnAbbrechen;

private:
    Choice m_choice = Cancel;
};

// Shows the question through the program's dialogs and returns the choice code:
// 1 "&Abbrechen", 2 "Speichern u. &Drucken", 3 "&Probedruck". For the dialogs'
// question the buttons map to Yes (save and print), No (test print), Cancel.
int AskPrint(Dialogs &dialogs, const QString &message);
