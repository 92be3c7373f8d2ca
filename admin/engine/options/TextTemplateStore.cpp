#include "TextTemplateStore.h"

#include "Formats.h"
#include "SqlQuery.h"
#include "SqlText.h"
#include "Transaction.h"

namespace {

QString lineLetter(int line)
{
    return QString(QChar(u'a' + line));
}

} // namespace

TextTemplateStore::TextTemplateStore(Database &db) : m_db(db) {}

QList<TextLine> TextTemplateStore::additionalTexts(const QString &kind)
{
    QList<TextLine> lines(AdditionalLines);
    SqlQuery q(m_db);
    for (q.open(QStringLiteral("SELECT Text, Style, Grad, X FROM ztext WHERE Art = %1 and Firma = 1 ORDER BY X")
                    .arg(SqlText(kind)));
         !q.eof(); q.next()) {
        const QString x = q.field(QStringLiteral("X"));
        const int line = x.size() == 1 ? x[0].unicode() - u'a' : -1;
        if (line >= 0 && line < AdditionalLines)
            lines[line] = {q.field(QStringLiteral("Text")), q.field(QStringLiteral("Style"))};
    }
    return lines;
}

void TextTemplateStore::saveAdditionalTexts(const QString &kind, const QList<TextLine> &lines)
{
    Transaction t(m_db);
    SqlQuery q(m_db);
    for (int i = 0; i < AdditionalLines; ++i) {
        const TextLine line = lines.value(i);
        q.execSql(QStringLiteral("UPDATE ztext SET Text = %1, Style = %2 WHERE Art = %3 and X = '%4' and firma = 1")
                      .arg(SqlText(line.text), SqlText(line.style), SqlText(kind), lineLetter(i)));
        if (q.rowsAffected() == 0)
            q.execSql(QStringLiteral("INSERT INTO ztext (Firma, Art, X, Text, Style, Grad) VALUES (1, %1, '%2', %3, %4, 10)")
                          .arg(SqlText(kind), lineLetter(i), SqlText(line.text), SqlText(line.style)));
    }
    t.commit();
}

QStringList TextTemplateStore::dunningTemplate(int level)
{
    SqlQuery q(m_db);
    QStringList lines;
    for (q.open(QStringLiteral("SELECT Text, ID FROM mahnungenstext WHERE MS='%1' ORDER BY ID").arg(level)); !q.eof();
         q.next())
        lines << q.field(QStringLiteral("Text"));
    return lines;
}

void TextTemplateStore::saveDunningTemplate(int level, const QStringList &lines)
{
    Transaction t(m_db);
    SqlQuery q(m_db);
    // Rows 0 … 24, each once and in ID order, are what the updates rely on.
    q.open(QStringLiteral("SELECT RV FROM mahnungenstext WHERE MS='%1' ORDER BY ID").arg(level));
    QStringList order;
    for (; !q.eof(); q.next())
        order << q.field(QStringLiteral("RV"));
    q.close();
    QStringList expected;
    for (int i = 0; i < TemplateLines; ++i)
        expected << QString::number(i);
    if (order != expected) {
        q.execSql(QStringLiteral("DELETE FROM mahnungenstext WHERE MS='%1'").arg(level));
        for (int i = 0; i < TemplateLines; ++i)
            q.execSql(QStringLiteral("INSERT INTO mahnungenstext (MS, RV, Text) VALUES ('%1', %2, %3)")
                          .arg(QString::number(level), QString::number(i), SqlText(lines.value(i))));
    } else {
        for (int i = 0; i < TemplateLines; ++i)
            q.execSql(QStringLiteral("UPDATE mahnungenstext SET Text=%1 WHERE MS='%2' AND RV=%3")
                          .arg(SqlText(lines.value(i)), QString::number(level), QString::number(i)));
    }
    t.commit();
}
