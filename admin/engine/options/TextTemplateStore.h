#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Database;

// One default additional text line of a document kind (ztext).
struct TextLine
{
    QString text;
    QString style; // "", "fsBold", "fsItalic", "fsBold, fsItalic"
    bool operator==(const TextLine &) const = default;
};

// The texts documents and dunning letters start from: four additional text lines
// per document kind (ztext) and the 25-line template of each dunning level
// (mahnungenstext).
class TextTemplateStore
{
public:
    static constexpr int AdditionalLines = 4;
    static constexpr int TemplateLines = 25;

    explicit TextTemplateStore(Database &db);

    // Lines 'a' … 'd' of the kind letter ('A', 'U', 'L', 'R', 'G'); a missing row
    // gives an empty line.
    QList<TextLine> additionalTexts(const QString &kind);
    // Writes the four lines in one transaction; a row the data set lost is
    // written anew.
    void saveAdditionalTexts(const QString &kind, const QList<TextLine> &lines);

    // The template of level 1, 2 or 3, one entry per row in ID order.
    QStringList dunningTemplate(int level);
    // Writes lines 0 … 24 (empty beyond the lines given) in one transaction. A
    // level whose 25 rows are not all there is written anew in line order, so the
    // dunning window, which reads by ID, finds the lines in order.
    void saveDunningTemplate(int level, const QStringList &lines);

private:
    Database &m_db;
};
