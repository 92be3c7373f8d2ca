#pragma once

#include "DocumentKind.h"
#include "LineList.h"
#include "TotalsList.h"

#include <QString>
#include <QStringList>
#include <array>

// An address block of a document: recipient line, street, postcode and town in
// one field. The designation and country columns of the address tables are fixed
// texts and not part of the value.
struct DocumentAddress
{
    QString name;
    QString street;
    QString postcodeTown;

    bool operator==(const DocumentAddress &) const = default;
};

// One of the four additional-text lines and its font style: "", "fsBold",
// "fsItalic" or "fsBold, fsItalic".
struct AdditionalTextLine
{
    QString text;
    QString style;

    bool operator==(const AdditionalTextLine &) const = default;
};

// One business document as a page holds it, and as the store saves and loads it.
struct Document
{
    static constexpr int TextLineCount = 4;

    explicit Document(DocumentKind kind = DocumentKind::Angebot,
                      const QString &currency = QStringLiteral("€"));

    DocumentKind kind;
    qint64 number = 0;        // BelegNr
    qint64 projectNumber = 0; // ProjektNr
    // Credit note: the invoice it reduces (ReNr); the other kinds write whatever
    // reference the window holds and never read it. Dunning letter: the invoice
    // dunned (RNr), 0 when the stored letter names none.
    qint64 invoiceNumber = 0;
    QString date;             // "dd.MM.yyyy", or empty
    QString projectName;      // PName, the project's name when saved
    bool addressLeft = false; // RL: the second address is printed in the envelope window
    QString ownCompany;       // EFirma, the sender line above the recipient

    DocumentAddress address;       // the recipient ("Anschrift", dunning letter 'A')
    DocumentAddress secondAddress; // delivery, invoice or second address (dunning letter 'R')

    LineList lines;
    TotalsList totals;

    QString skontoText;
    QString skontoPercent; // as entered ("2,00"); empty when the document has no Skonto
    std::array<AdditionalTextLine, TextLineCount> texts;

    // Invoice: "Netto Zahlungsziel" of the project page as typed, digits or empty.
    QString paymentTerm;

    // Invoice and credit note: the date of service ("dd.MM.yyyy"; empty means the
    // document date) and, for a period, its last day (empty for a single date).
    QString serviceDate;
    QString serviceDateTo;
    // How the gross follows from net and VAT lines; a stored document keeps the
    // rule it was issued under.
    GrossRule grossRule = GrossRule::SumOfShownParts;
    // A new document's identity across its save attempts (Speicherkennung): a save
    // whose commit was cut off is found by it, so it is never stored twice.
    QString saveToken;

    // The date of service as printed: the document date when none is set.
    QString effectiveServiceDate() const { return serviceDate.isEmpty() ? date : serviceDate; }
    bool hasServicePeriod() const { return !serviceDateTo.isEmpty() && serviceDateTo != effectiveServiceDate(); }

    // Dunning letter: its level (MNr) and the lines of its body.
    int dunningLevel = 0;
    QStringList letterLines;

    // The four additional-text lines as the page's read-only box shows them.
    QString textBoxText() const;

    bool operator==(const Document &) const = default;
};
