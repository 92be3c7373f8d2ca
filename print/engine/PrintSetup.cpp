#include "PrintSetup.h"

#include "AppState.h"
#include "Settings.h"
#include "SqlQuery.h"

PrintSetup PrintSetup::read(AppState &state)
{
    PrintSetup setup;
    UserSettings settings;
    const PrintOrigin origin = ReadPrintOrigin(settings);
    setup.left = origin.left();
    setup.top = origin.top();
    setup.pens = ReadGridPens(settings);
    setup.sizeOffset = state.PrintSizeOffset;
    setup.footer = ReadFooter(state.db);
    setup.currency = ReadCurrency(state.ExeDir);
    return setup;
}

QList<FooterRow> ReadFooter(Database &db)
{
    SqlQuery q(db);
    q.open(QStringLiteral("SELECT A,B,C,D,X FROM foot WHERE Firma = 1 ORDER BY X"));
    QList<FooterRow> rows;
    for (; !q.eof() && rows.size() < PrintSetup::FooterRows; q.next())
        rows << FooterRow{q.field(QStringLiteral("A")), q.field(QStringLiteral("B")), q.field(QStringLiteral("C")),
                          q.field(QStringLiteral("D"))};
    while (rows.size() < PrintSetup::FooterRows)
        rows << (rows.isEmpty() ? FooterRow{} : rows.last());
    return rows;
}
