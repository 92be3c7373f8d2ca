#pragma once

#include "TdmCommon.h"

#include <QChar>
#include <QList>
#include <QString>
#include <optional>

// One of the seven kinds of business document. The kind number is how the
// project window and its dialogs name a kind; the base name is the header table
// and the prefix of the kind's other tables (X, Xanschrift, Xartikel, Xextra,
// Xztext). The dunning letter has a layout of its own (mahnungen,
// mahnungentext, mahnungenanschrift) and none of the five-table family.
class DocumentKind
{
public:
    enum Kind {
        Mahnung = 0,
        Angebot = 1,
        Auftrag = 3,
        Lieferschein = 5,
        Rechnung = 7,
        Gutschrift = 9,
        Ablage = 11,
    };

    // The dialogs a kind's page offers for its documents.
    enum PageDialog {
        NoDialog = 0,
        RabattDialog = 1,
        SkontoDialog = 2,
        ZusatztextDialog = 4,
    };

    constexpr DocumentKind(Kind kind = Angebot) : m_kind(kind) {}
    // No value for a number that names no kind.
    static std::optional<DocumentKind> fromNumber(int number);
    // Every kind in the order of the project window's pages.
    static QList<DocumentKind> all();

    constexpr Kind kind() const { return m_kind; }
    constexpr int number() const { return int(m_kind); }
    constexpr bool isDunningLetter() const { return m_kind == Mahnung; }
    constexpr bool operator==(const DocumentKind &other) const = default;

    // "Angebot", "Auftrag", ... "Ablage".
    QString name() const;
    // The caption of the kind in lists: "Arbeitsablage" for the working document.
    QString listCaption() const;

    QString baseTable() const;
    QString headerTable() const { return baseTable(); }
    QString addressTable() const;
    QString lineTable() const;
    QString extraTable() const;
    QString textTable() const;
    // rechnungenbetrag / gutschriftenbetrag; empty for the other kinds.
    QString amountTable() const;

    // Art of the second address row: "Lieferanschrift", "Rechnungsanschrift",
    // "Zweitanschrift", "R" for the dunning letter's invoice address; empty for the
    // quotation and the order, which store only the recipient.
    QString secondAddressArt() const;
    bool hasSecondAddress() const { return !secondAddressArt().isEmpty(); }
    // The page shows the box "Lieferanschrift links" / "Rechnungsanschrift links";
    // the other kinds always store RL = 'N'.
    bool hasAddressLeftBox() const;

    // Bitwise or of PageDialog. The credit note offers Zusatztext only while its
    // page is in edit mode; the window applies that restriction.
    int dialogs() const;
    bool offers(PageDialog dialog) const { return (dialogs() & dialog) != 0; }

    // Kind letter of the additional-text dialog: 'A', 'U', 'L', 'R', 'G', 'B'
    // (Ablage, which uses the Angebot template); a null QChar for the dunning letter.
    QChar textLetter() const;
    // Kind letter of the ztext templates: as textLetter, but the working document
    // has no template of its own and reads the quotation's ('A').
    QChar templateLetter() const;

    NumberRange numberRange() const;

    // Heading of the gross cell of the totals list: "Gutschrift" on the credit
    // note, "Rechnungsbetrag" elsewhere.
    QString grossHeading() const;
    // The warning a save shows when the line list has no first position.
    QString noLinesMessage() const;

private:
    Kind m_kind;
};
