#pragma once

#include "DunningLetter.h"

#include <QString>
#include <QStringList>
#include <memory>

class Database;
class Dialogs;
class DocumentStore;
class TdmCommon;
struct Document;

// The statements of the dunning window: the project's addresses, the customer's
// letter salutation, the invoice date, the template of a level, the next number
// and level, and the saving of a new letter.
class DunningStore
{
public:
    enum class SaveResult {
        Saved,
        NumberTaken, // another workstation stored a letter under the number meanwhile; nothing written
    };

    DunningStore(Database &db, Dialogs &dialogs, TdmCommon &numbers, const QString &currency = QStringLiteral("€"));
    ~DunningStore();

    DunningProject loadProject(qint64 project);
    bool isCompany(qint64 customer);
    QString letterSalutation(qint64 customer, bool company);
    QString invoiceDate(qint64 invoice);
    // The template rows of a level (levels from 3 share level 3), in ID order.
    QStringList templateRows(int level);

    qint64 nextNumber();
    int nextLevel(qint64 invoice);

    // Writes the letter (header, text lines, both addresses) and raises the
    // invoice's dunning level, in one transaction.
    SaveResult save(const Document &letter);

private:
    Database &m_db;
    TdmCommon &m_numbers;
    std::unique_ptr<DocumentStore> m_documents;
};
