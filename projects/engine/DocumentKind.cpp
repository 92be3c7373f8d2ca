#include "DocumentKind.h"

std::optional<DocumentKind> DocumentKind::fromNumber(int number)
{
    switch (number) {
    case Mahnung:
    case Angebot:
    case Auftrag:
    case Lieferschein:
    case Rechnung:
    case Gutschrift:
    case Ablage:
        return DocumentKind(Kind(number));
    default:
        return std::nullopt;
    }
}

QList<DocumentKind> DocumentKind::all()
{
    return {Angebot, Auftrag, Lieferschein, Rechnung, Gutschrift, Mahnung, Ablage};
}

QString DocumentKind::name() const
{
    switch (m_kind) {
    case Mahnung: return QStringLiteral("Mahnung");
    case Angebot: return QStringLiteral("Angebot");
    case Auftrag: return QStringLiteral("Auftrag");
    case Lieferschein: return QStringLiteral("Lieferschein");
    case Rechnung: return QStringLiteral("Rechnung");
    case Gutschrift: return QStringLiteral("Gutschrift");
    case Ablage: return QStringLiteral("Ablage");
    }
    return {};
}

QString DocumentKind::listCaption() const
{
    return m_kind == Ablage ? QStringLiteral("Arbeitsablage") : name();
}

QString DocumentKind::baseTable() const
{
    switch (m_kind) {
    case Mahnung: return QStringLiteral("mahnungen");
    case Angebot: return QStringLiteral("angebote");
    case Auftrag: return QStringLiteral("auftraege");
    case Lieferschein: return QStringLiteral("lieferscheine");
    case Rechnung: return QStringLiteral("rechnungen");
    case Gutschrift: return QStringLiteral("gutschriften");
    case Ablage: return QStringLiteral("ablage");
    }
    return {};
}

QString DocumentKind::addressTable() const
{
    return baseTable() + QStringLiteral("anschrift");
}

QString DocumentKind::lineTable() const
{
    return isDunningLetter() ? QString() : baseTable() + QStringLiteral("artikel");
}

QString DocumentKind::extraTable() const
{
    return isDunningLetter() ? QString() : baseTable() + QStringLiteral("extra");
}

QString DocumentKind::textTable() const
{
    // The dunning letter's body lives in mahnungentext, one row per line.
    return isDunningLetter() ? QStringLiteral("mahnungentext") : baseTable() + QStringLiteral("ztext");
}

QString DocumentKind::amountTable() const
{
    if (m_kind == Rechnung || m_kind == Gutschrift)
        return baseTable() + QStringLiteral("betrag");
    return {};
}

QString DocumentKind::secondAddressArt() const
{
    switch (m_kind) {
    case Lieferschein: return QStringLiteral("Lieferanschrift");
    case Rechnung:
    case Gutschrift: return QStringLiteral("Rechnungsanschrift");
    case Ablage: return QStringLiteral("Zweitanschrift");
    case Mahnung: return QStringLiteral("R");
    case Angebot:
    case Auftrag: return {};
    }
    return {};
}

bool DocumentKind::hasAddressLeftBox() const
{
    return m_kind == Lieferschein || m_kind == Rechnung || m_kind == Gutschrift || m_kind == Mahnung;
}

int DocumentKind::dialogs() const
{
    switch (m_kind) {
    case Angebot:
    case Auftrag:
    case Lieferschein: return RabattDialog | ZusatztextDialog;
    case Rechnung:
    case Ablage: return RabattDialog | SkontoDialog | ZusatztextDialog;
    case Gutschrift: return ZusatztextDialog;
    case Mahnung: return NoDialog;
    }
    return NoDialog;
}

QChar DocumentKind::textLetter() const
{
    switch (m_kind) {
    case Angebot: return QLatin1Char('A');
    case Auftrag: return QLatin1Char('U');
    case Lieferschein: return QLatin1Char('L');
    case Rechnung: return QLatin1Char('R');
    case Gutschrift: return QLatin1Char('G');
    case Ablage: return QLatin1Char('B');
    case Mahnung: return {};
    }
    return {};
}

QChar DocumentKind::templateLetter() const
{
    return m_kind == Ablage ? QLatin1Char('A') : textLetter();
}

NumberRange DocumentKind::numberRange() const
{
    switch (m_kind) {
    case Mahnung: return NumberRange::Mahnung;
    case Angebot: return NumberRange::Angebot;
    case Auftrag: return NumberRange::Auftrag;
    case Lieferschein: return NumberRange::Lieferschein;
    case Rechnung: return NumberRange::Rechnung;
    case Gutschrift: return NumberRange::Gutschrift;
    case Ablage: return NumberRange::Ablage;
    }
    return NumberRange::Angebot;
}

QString DocumentKind::grossHeading() const
{
    return m_kind == Gutschrift ? QStringLiteral("Gutschrift") : QStringLiteral("Rechnungsbetrag");
}

QString DocumentKind::noLinesMessage() const
{
    if (m_kind == Ablage)
        return QStringLiteral("Keine Daten zum speichern!");
    return QStringLiteral("Es konnte nicht gespeichert werden weil keine Artikel eingetragen sind!");
}
