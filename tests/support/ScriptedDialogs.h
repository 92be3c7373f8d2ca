#pragma once

#include "Dialogs.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

// Dialogs for tests: records what the program said or asked, and answers from a
// script. A question without a scripted answer is recorded as unanswered and
// gets Cancel (or No where there is no Cancel), so a test sees the surprise.
class ScriptedDialogs : public Dialogs
{
public:
    enum class Kind { Information, Warning, Error, Question, Input, OpenFile, SaveFile, Directory };
    struct Entry
    {
        Kind kind;
        QString text;
        Buttons buttons = Buttons::Ok; // what a question offered
    };

    void information(const QString &text, const QString &caption = {}) override;
    void warning(const QString &text, const QString &caption = {}) override;
    void error(const QString &text, const QString &caption = {}) override;
    Answer question(const QString &text, Buttons buttons = Buttons::YesNo,
                    const QString &caption = {}) override;
    std::optional<QString> inputText(const QString &caption, const QString &prompt,
                                     const QString &initial = {}) override;
    QString openFileName(const QString &caption, const QString &dir, const QString &filter) override;
    QString saveFileName(const QString &caption, const QString &dir, const QString &filter) override;
    QString existingDirectory(const QString &caption, const QString &dir) override;

    // Scripted answers, used in order.
    void answer(Answer a) { m_answers.enqueue(a); }
    void answerInput(const std::optional<QString> &text) { m_inputs.enqueue(text); }
    void answerFile(const QString &path) { m_files.enqueue(path); }

    const QList<Entry> &log() const { return m_log; }
    QStringList texts(Kind kind) const;
    QStringList messages() const; // information, warning and error texts
    QStringList questions() const { return texts(Kind::Question); }
    // The buttons each question offered, in order ("Ja/Nein", "Ja/Nein/Abbrechen", ...).
    QStringList questionButtons() const;
    int unanswered() const { return m_unanswered; }
    bool allAnswersUsed() const { return m_answers.isEmpty() && m_inputs.isEmpty() && m_files.isEmpty(); }
    void clear();

private:
    QList<Entry> m_log;
    QQueue<Answer> m_answers;
    QQueue<std::optional<QString>> m_inputs;
    QQueue<QString> m_files;
    int m_unanswered = 0;
};
