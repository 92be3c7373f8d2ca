#include "ScriptedDialogs.h"

void ScriptedDialogs::information(const QString &text, const QString &)
{
    m_log.append({Kind::Information, text});
}

void ScriptedDialogs::warning(const QString &text, const QString &)
{
    m_log.append({Kind::Warning, text});
}

void ScriptedDialogs::error(const QString &text, const QString &)
{
    m_log.append({Kind::Error, text});
}

Dialogs::Answer ScriptedDialogs::question(const QString &text, Buttons buttons, const QString &)
{
    m_log.append({Kind::Question, text, buttons});
    if (!m_answers.isEmpty())
        return m_answers.dequeue();
    ++m_unanswered;
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::YesNo: return Answer::No;
    default: return Answer::Cancel;
    }
}

std::optional<QString> ScriptedDialogs::inputText(const QString &, const QString &prompt, const QString &)
{
    m_log.append({Kind::Input, prompt});
    if (!m_inputs.isEmpty())
        return m_inputs.dequeue();
    ++m_unanswered;
    return std::nullopt;
}

QString ScriptedDialogs::openFileName(const QString &caption, const QString &, const QString &)
{
    m_log.append({Kind::OpenFile, caption});
    if (!m_files.isEmpty())
        return m_files.dequeue();
    ++m_unanswered;
    return QString();
}

QString ScriptedDialogs::saveFileName(const QString &caption, const QString &, const QString &)
{
    m_log.append({Kind::SaveFile, caption});
    if (!m_files.isEmpty())
        return m_files.dequeue();
    ++m_unanswered;
    return QString();
}

QString ScriptedDialogs::existingDirectory(const QString &caption, const QString &)
{
    m_log.append({Kind::Directory, caption});
    if (!m_files.isEmpty())
        return m_files.dequeue();
    ++m_unanswered;
    return QString();
}

QStringList ScriptedDialogs::texts(Kind kind) const
{
    QStringList out;
    for (const Entry &e : m_log)
        if (e.kind == kind)
            out << e.text;
    return out;
}

QStringList ScriptedDialogs::messages() const
{
    QStringList out;
    for (const Entry &e : m_log)
        if (e.kind == Kind::Information || e.kind == Kind::Warning || e.kind == Kind::Error)
            out << e.text;
    return out;
}

void ScriptedDialogs::clear()
{
    m_log.clear();
    m_answers.clear();
    m_inputs.clear();
    m_files.clear();
    m_unanswered = 0;
}

QStringList ScriptedDialogs::questionButtons() const
{
    QStringList out;
    for (const Entry &e : m_log) {
        if (e.kind != Kind::Question)
            continue;
        switch (e.buttons) {
        case Buttons::Ok: out << QStringLiteral("OK"); break;
        case Buttons::OkCancel: out << QStringLiteral("OK/Abbrechen"); break;
        case Buttons::YesNo: out << QStringLiteral("Ja/Nein"); break;
        case Buttons::YesNoCancel: out << QStringLiteral("Ja/Nein/Abbrechen"); break;
        case Buttons::YesCancel: out << QStringLiteral("Ja/Abbrechen"); break;
        }
    }
    return out;
}
