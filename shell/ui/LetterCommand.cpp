#include "LetterCommand.h"

#include "AppState.h"
#include "Dialogs.h"
#include "Formats.h"
#include "SqlQuery.h"
#include "WordWriter.h"

#include <QDir>

LetterData ReadLetterData(Database &db, qint64 contact, bool company)
{
    LetterData d;
    d.company = company;
    SqlQuery q(db);
    if (company) {
        q.add(QStringLiteral("SELECT firma.SAnrede, firma.Name, adresse.Strasse, adresse.PLZ, adresse.Ort"));
        q.add(QStringLiteral("FROM firma, adressetofn, adresse"));
        q.add(QStringLiteral("WHERE firma.IDF=adressetofn.IDFN AND adressetofn.IDA=adresse.IDA AND firma.IDF=%1")
                  .arg(contact));
    } else {
        q.add(QStringLiteral("SELECT name.Titel, name.SAnrede, name.Anrede, name.VName, name.NName, adresse.Strasse,"));
        q.add(QStringLiteral("adresse.PLZ, adresse.Ort FROM name, adressetofn, adresse"));
        q.add(QStringLiteral("WHERE name.IDN=adressetofn.IDFN AND adressetofn.IDA=adresse.IDA AND name.IDN=%1")
                  .arg(contact));
    }
    // The main address comes first; a contact with several addresses is written to
    // its main address.
    q.add(QStringLiteral("ORDER BY adressetofn.St DESC NULLS LAST"));
    q.open();
    d.SAnrede = q.field(QStringLiteral("SAnrede"));
    d.Strasse = q.field(QStringLiteral("Strasse"));
    d.PLZ = q.field(QStringLiteral("PLZ"));
    d.Ort = q.field(QStringLiteral("Ort"));
    if (company) {
        d.Name = q.field(QStringLiteral("Name"));
    } else {
        d.Titel = q.field(QStringLiteral("Titel"));
        d.Anrede = q.field(QStringLiteral("Anrede"));
        d.VName = q.field(QStringLiteral("VName"));
        d.NName = q.field(QStringLiteral("NName"));
    }
    return d;
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
