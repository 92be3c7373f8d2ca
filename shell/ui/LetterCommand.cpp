#include "LetterCommand.h"

#include "AppState.h"
#include "Dialogs.h"
#include "Formats.h"
#include "WordWriter.h"

#include <QDir>

LetterData ReadLetterData(Database &db, qint64 contact, bool company)
{
    return CorrespondenceStore(db).letterData(contact, company);
}

QList<QPair<QString, QString>> LetterBookmarks(const LetterData &d, const QDate &today)
{
    QString anrede1;
    if (!d.company && d.Anrede == QLatin1String("Herr"))
        anrede1 = QStringLiteral("Sehr geehrter Herr");
    else if (!d.company && d.Anrede == QLatin1String("Frau"))
        anrede1 = QStringLiteral("Sehr geehrte Frau");
    const auto personal = [&d](const QString &v) { return d.company ? QString() : v; };
    return {
        {QStringLiteral("Datum"), DateToStr(today)},
        {QStringLiteral("SAnrede"), d.SAnrede},
        {QStringLiteral("Anrede1"), anrede1},
        {QStringLiteral("Anrede2"), personal(d.Anrede)},
        {QStringLiteral("Titel"), personal(d.Titel)},
        {QStringLiteral("NName"), personal(d.NName)},
        {QStringLiteral("VName"), personal(d.VName)},
        {QStringLiteral("Name"), d.company ? d.Name : QString()},
        {QStringLiteral("Strasse"), d.Strasse},
        {QStringLiteral("PLZ"), d.PLZ},
        {QStringLiteral("Ort"), d.Ort},
    };
}

void WriteLetter(AppState &state, qint64 contact, bool company)
{
    const LetterData data = ReadLetterData(state.db, contact, company);
    const QString folder = QDir(state.ExeDir).filePath(QStringLiteral("Allgemein"));
    const QString templatePath = state.dialogs.openFileName(
        QStringLiteral("Briefvorlage auswählen"), folder,
        QStringLiteral("Briefvorlagen (*.ott *.odt *.dotx *.docx);;OpenDocument-Vorlagen (*.ott *.odt);;"
                       "Word-Vorlagen (*.dotx *.docx)"));
    if (templatePath.isEmpty())
        return;
    WordWriter writer;
    writer.newDocument(templatePath);
    for (const auto &[bookmark, text] : LetterBookmarks(data, QDate::currentDate()))
        if (writer.goToBookmark(bookmark))
            writer.typeText(text);
    if (!writer.show())
        state.dialogs.information(QStringLiteral("Der Brief wurde gespeichert unter:\n%1\n\n"
                                                 "Er konnte nicht automatisch geöffnet werden.")
                                      .arg(writer.documentPath()));
}
