#pragma once

#include "Dialogs.h"

// Loads Qt's own German texts (file dialogs, standard buttons, context menus),
// so nothing of Qt speaks English in the program. False when they are missing.
bool InstallQtGermanTexts();

// The program's dialogs: Qt message boxes with German buttons, parented to the
// active window.
class QtDialogs : public Dialogs
{
public:
    void information(const QString &text, const QString &caption = {}) override;
    void warning(const QString &text, const QString &caption = {}) override;
    void error(const QString &text, const QString &caption = {}) override;
    Answer question(const QString &text, Buttons buttons = Buttons::YesNo,
                    const QString &caption = {}) override;
    std::optional<QString> inputText(const QString &caption, const QString &prompt,
                                     const QString &initial = {}) override;
    QString openFileName(const QString &caption, const QString &dir, const QString &filter) override;
    QStringList openFileNames(const QString &caption, const QString &dir, const QString &filter) override;
    QString saveFileName(const QString &caption, const QString &dir, const QString &filter) override;
    QString existingDirectory(const QString &caption, const QString &dir) override;
};
