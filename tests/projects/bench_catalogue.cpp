// Benchmark, not a test: the catalogue search of the line-item window in a
// catalogue of 50,000 articles (each fifth with two text lines). Times the
// search as the window runs it on every key in "Suche:" (statement, rows,
// result list) for a rare and a common name, an article number, a group, and
// the whole catalogue, and prints the medians. "store ms" reads every matching
// row; "window ms" is what a key costs in the window, which reads the first
// page of the result and the rest as the user scrolls.
//
//   bench_catalogue [articles]   (default 50000)

#include "ArticleStore.h"
#include "Database.h"
#include "HomeDir.h"
#include "ScriptedDialogs.h"
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
        const QString name = QStringLiteral("%1 %2 %3x%4 Nr. %5")
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

double medianMs(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
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
    fill(env.db(), count);
    std::printf("%d articles written in %.0f ms\n", count, double(filling.elapsed()));

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
        {"rare name (\"Nr. 4711\")", QStringLiteral("Nr. 4711"), QString()},
        {"common name (\"Schrank\")", QStringLiteral("Schrank"), QString()},
        {"name typed so far (\"Sch\")", QStringLiteral("Sch"), QString()},
        {"article number (\"A-0471\")", QStringLiteral("A-0471"), QString(), true},
        {"name in a group (\"Eiche\", Holz)", QStringLiteral("Eiche"), QStringLiteral("Holz")},
        {"group alone (Elektro)", QString(), QStringLiteral("Elektro")},
        {"whole catalogue", QString(), QString()},
    };
    std::printf("%-34s %8s %12s %12s\n", "search", "rows", "store ms", "window ms");
    for (const Case &c : cases) {
        ArticleStore store(env.db());
        int rows = 0;
        const double storeMs = medianMs(21, [&] {
            rows = int(store.search(c.byNumber ? ArticleStore::SearchColumn::ArtikelNr
                                               : ArticleStore::SearchColumn::Bezeichnung,
                                    c.text, c.group)
                           .size());
        });
        tabs->setCurrentIndex(c.byNumber ? 1 : 0);
        search->setText(c.text);
        groups->setCurrentIndex(c.group.isEmpty() ? 0 : groups->findText(c.group));
        const double windowMs = medianMs(21, [&] {
            window.search();
            results->viewport()->repaint();
        });
        std::printf("%-34s %8d %12.1f %12.1f\n", c.what, rows, storeMs, windowMs);
    }
    // What the list costs when the user scrolls through every page of the
    // whole catalogue.
    tabs->setCurrentIndex(0);
    search->clear();
    groups->setCurrentIndex(0);
    const double allPages = medianMs(5, [&] {
        window.search();
        while (results->model()->canFetchMore({}))
            results->model()->fetchMore({});
    });
    std::printf("%-34s %8d %12s %12.1f\n", "whole catalogue, every page", results->model()->rowCount(), "",
                allPages);
    return 0;
}
