#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Every message box, question, text input and file or folder dialog of the program
// goes through this interface, so tests can script the answers.
class Dialogs
{
public:
    enum class Answer { Yes, No, Cancel, Ok };
    // PrintChoice: the question before an unsaved document is printed, answered
    // Yes ("Speichern u. &Drucken"), No ("&Probedruck") or Cancel ("&Abbrechen").
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, YesCancel, PrintChoice };

    virtual ~Dialogs() = default;

    virtual void information(const QString &text, const QString &caption = {}) = 0;
    virtual void warning(const QString &text, const QString &caption = {}) = 0;
    virtual void error(const QString &text, const QString &caption = {}) = 0;
    virtual Answer question(const QString &text, Buttons buttons = Buttons::YesNo,
                            const QString &caption = {}) = 0;
    // No value when the user cancels.
    virtual std::optional<QString> inputText(const QString &caption, const QString &prompt,
                                             const QString &initial = {}) = 0;
    // Empty text when the user cancels. filter as in QFileDialog ("Vorlagen (*.ott *.dotx)").
    virtual QString openFileName(const QString &caption, const QString &dir, const QString &filter) = 0;
    // Several files at once; by default the one of openFileName. Empty when the
    // user cancels.
    virtual QStringList openFileNames(const QString &caption, const QString &dir, const QString &filter)
    {
        const QString file = openFileName(caption, dir, filter);
        return file.isEmpty() ? QStringList() : QStringList{file};
    }
    virtual QString saveFileName(const QString &caption, const QString &dir, const QString &filter) = 0;
    virtual QString existingDirectory(const QString &caption, const QString &dir) = 0;
};
