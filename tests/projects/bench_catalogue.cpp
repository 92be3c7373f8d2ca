// Benchmark, not a test: the catalogue search of the line-item window in a
// catalogue of 50,000 articles (each fifth with two text lines). Times the
// search as the window runs it on every key in "Suche:" (statement, rows,
// result list) for a common, a rare ("Eisvogel" names one article) and a name
// found nowhere, the same for article numbers, a group, and the whole catalogue,
// and prints the medians of the processor time spent (so that other programs on
// a busy machine do not distort them). "store ms" reads every matching row; "window ms" is
// what a key costs in the window, which reads the first page of the result and
// the rest as the user scrolls; "bare ms" are the statements of that key run
// straight on the engine, "scan ms" the same without the substring index, as
// the search ran before.
//
//   bench_catalogue [articles]   (default 50000)

#include "ArticleStore.h"
#include "BareStatements.h"
#include "Database.h"
#include "HomeDir.h"
#include "ScriptedDialogs.h"
#include "SqlSearch.h"
#include "TestEnv.h"
#include "TfrmArtikelEintragen.h"
#include "Transaction.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTabBar>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

void fill(Database &db, int count)
{
    const QStringList things = {"Schrank", "Tisch", "Stuhl", "Regal", "Lampe", "Schraube", "Dübel", "Winkel",
                                "Platte", "Leiste", "Kabel", "Schalter", "Dose", "Rohr", "Muffe", "Scharnier"};
    const QStringList kinds = {"Eiche", "Buche", "Stahl", "verzinkt", "weiß", "schwarz", "Edelstahl", "Kiefer"};
    const QStringList groups = {"", "Möbel", "Befestigung", "Elektro", "Sanitär", "Beschläge", "Holz"};
    QRandomGenerator random(4711);
    ArticleStore store(db);
    Transaction t(db);
    for (int i = 1; i <= count; ++i) {
        const QString name = i == count / 2 + 1 ? QStringLiteral("Eisvogel-Futterhaus Lärche")
                                                : QStringLiteral("%1 %2 %3x%4 Nr. %5")
                                 .arg(things[random.bounded(int(things.size()))], kinds[random.bounded(int(kinds.size()))])
                                 .arg(random.bounded(10, 200))
                                 .arg(random.bounded(10, 200))
                                 .arg(i);
        const Article a{name, QStringLiteral("A-%1").arg(i, 6, 10, QLatin1Char('0')),
                        groups[random.bounded(int(groups.size()))],
                        Amount::fromRaw(random.bounded(100, 50'000'000)),
                        i % 4 == 0 ? QStringLiteral("  7,00 %") : QStringLiteral("19,00 %")};
        QStringList texts;
        if (i % 5 == 0)
            texts = {QStringLiteral("Zusatztext eins zu %1").arg(i), QStringLiteral("Zusatztext zwei")};
        store.insert(a, texts);
    }
    t.commit();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 50000;

    TestEnv env;
    QElapsedTimer filling;
    filling.start();
    const double built = FillThenIndex(env.db(), [&] { fill(env.db(), count); });
    std::printf("%d articles written in %.0f ms, substring index built in %.1f s\n", count,
                double(filling.elapsed()), built);
    env.db().close();
    env.db().open(env.dataDir()); // statistics are taken when a data set is opened

    TfrmArtikelEintragen window(env.state());
    window.prepare(Document(DocumentKind::Angebot), QStringLiteral("19,00 %"));
    window.show();
    auto *search = window.findChild<QLineEdit *>(QStringLiteral("edtSuche"));
    auto *groups = window.findChild<QComboBox *>(QStringLiteral("cboArtikelgruppe"));
    auto *results = window.findChild<QTableView *>(QStringLiteral("grdArtikelliste"));

    auto *tabs = window.findChild<QTabBar *>(QStringLiteral("tabSuche"));
    struct Case
    {
        const char *what;
        QString text;
        QString group;
        bool byNumber = false;
    };
    const std::vector<Case> cases = {
        {"common name (\"Schrank\")", QStringLiteral("Schrank"), QString()},
        {"rare name (\"Eisvogel\")", QStringLiteral("Eisvogel"), QString()},
        {"name found nowhere (\"Zwickau\")", QStringLiteral("Zwickau"), QString()},
        {"name typed so far (\"Sch\")", QStringLiteral("Sch"), QString()},
        {"short name (\"Sc\")", QStringLiteral("Sc"), QString()},
        {"common number (\"A-01\")", QStringLiteral("A-01"), QString(), true},
        {"rare number (\"A-004711\")", QStringLiteral("A-004711"), QString(), true},
        {"number found nowhere (\"B-1\")", QStringLiteral("B-1"), QString(), true},
        {"name in a group (\"Eiche\", Holz)", QStringLiteral("Eiche"), QStringLiteral("Holz")},
        {"group alone (Elektro)", QString(), QStringLiteral("Elektro")},
        {"whole catalogue", QString(), QString()},
    };
    std::printf("%-36s %8s %10s %10s %10s %10s\n", "search", "rows", "store ms", "window ms", "bare ms", "scan ms");
    for (const Case &c : cases) {
        ArticleStore store(env.db());
        int rows = 0;
        const double storeMs = MedianCpuMs(
            [&] {
                rows = int(store.search(c.byNumber ? ArticleStore::SearchColumn::ArtikelNr
                                                   : ArticleStore::SearchColumn::Bezeichnung,
                                        c.text, c.group)
                               .size());
            },
            21);
        tabs->setCurrentIndex(c.byNumber ? 1 : 0);
        search->setText(c.text);
        groups->setCurrentIndex(c.group.isEmpty() ? 0 : groups->findText(c.group));
        const auto key = [&] {
            window.search();
            results->viewport()->repaint();
        };
        const double windowMs = MedianCpuMs(key, 21);
        const double bare = BareStatementsMs(env.db(), RecordStatements(env.db(), key), 21);
        SetSearchIndexUse(false);
        const double scan = BareStatementsMs(env.db(), RecordStatements(env.db(), key), 21);
        SetSearchIndexUse(true);
        std::printf("%-36s %8d %10.1f %10.1f %10.2f %10.2f\n", c.what, rows, storeMs, windowMs, bare, scan);
    }
    // What the list costs when the user scrolls through every page of the
    // whole catalogue.
    tabs->setCurrentIndex(0);
    search->clear();
    groups->setCurrentIndex(0);
    const double allPages = MedianMs(
        [&] {
            window.search();
            while (results->model()->canFetchMore({}))
                results->model()->fetchMore({});
        },
        5);
    std::printf("%-36s %8d %10s %10.1f\n", "whole catalogue, every page", results->model()->rowCount(), "",
                allPages);
    return 0;
}
