#include "DialogButtons.h"

namespace {

DialogCommand command(bool button, bool menu, bool usable, const QString &hint = {})
{
    return {button, menu, (button || menu) && usable, hint};
}

} // namespace

PageDialogState dialogButtons(DocumentKind kind, bool editable, bool mayWrite)
{
    if (kind.isDunningLetter())
        return {};
    const bool usable = mayWrite && (editable || kind.kind() == DocumentKind::Ablage);
    const bool rabatt = kind.offers(DocumentKind::RabattDialog);
    const bool skonto = kind.offers(DocumentKind::SkontoDialog);
    const bool zusatztext = kind.offers(DocumentKind::ZusatztextDialog);

    PageDialogState s;
    s.articles = command(true, true, usable,
                         kind.kind() == DocumentKind::Rechnung ? QStringLiteral("Artikeldaten eintragen")
                                                               : QStringLiteral("Artikeldaten verwalten"));
    switch (kind.kind()) {
    case DocumentKind::Lieferschein:
        // The delivery note keeps its discount in the menu only.
        s.rabatt = command(false, rabatt, usable);
        s.skonto = command(skonto, skonto, usable);
        s.zusatztext = command(zusatztext, zusatztext, usable);
        break;
    case DocumentKind::Ablage:
        s.rabatt = command(rabatt, rabatt, usable);
        s.skonto = command(false, skonto, usable);
        s.zusatztext = command(false, zusatztext, usable);
        break;
    default:
        s.rabatt = command(rabatt, rabatt, usable);
        s.skonto = command(skonto, skonto, usable);
        s.zusatztext = command(zusatztext, zusatztext, usable);
        break;
    }
    return s;
}
