// Opens the line-item window, the catalogue window or one of the discount,
// Skonto and additional-text dialogs on a throw-away data set with a filled
// quotation, so the windows can be looked at (under Xvfb, or grabbed into a
// PNG). Not a test: nothing is checked.
//   show_articles artikel|klein|rabatt|skonto|zusatztext [--grab out.png]

#include "ArticleStore.h"
#include "DocumentFixtures.h"
#include "TestEnv.h"
#include "TextLinesGrid.h"
#include "TfrmArtikelEintragen.h"
#include "TfrmArtikelKlein.h"
#include "TfrmRabatt.h"
#include "TfrmSconto.h"
#include "TfrmZusatzText.h"
#include "Totals.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString mode = args.value(1, QStringLiteral("artikel"));
    const int grabAt = int(args.indexOf(QStringLiteral("--grab")));
    const QString grabFile = grabAt > 0 ? args.value(grabAt + 1) : QString();

    TestEnv env;
    ArticleStore store(env.db());
    store.insert({"Kleiderschrank Eiche massiv, zweitürig", "S-100", "Möbel", Amount::fromText("1234,5"), "19,00 %"},
                 {"aus Eiche, geölt", "mit Einlegeböden"});
    store.insert({"Schreibtisch Buche 160 x 80", "T-210", "Möbel", Amount::fromText("489"), "19,00 %"}, {});
    store.insert({"Schraube 4 x 40 verzinkt (100 Stück)", "K-7", "Befestigung", Amount::fromText("3,95"), "19,00 %"},
                 {});
    store.insert({"Fachbuch Holzverbindungen", "B-1", "", Amount::fromText("29,9"), "  7,00 %"}, {});
    store.insert({"Montage je Stunde", "M-1", "Dienstleistung", Amount::fromText("45"), "19,00 %"}, {});

    Document doc(DocumentKind::Angebot);
    doc.lines = linesFrom({"1|S-100|Kleiderschrank Eiche massiv, zweitürig|2|1.234,50|19,00 %", "||aus Eiche, geölt",
                           "2|M-1|Montage je Stunde|3,5|45,00|19,00 %", "||Aufbau vor Ort",
                           "3||Treuerabatt||5,00 %||5,00"});
    Totals::compute(doc.lines, doc.totals, Totals::readRates(env.db()));
    doc.texts = {AdditionalTextLine{"Sehr geehrte Damen und Herren,", "fsBold"},
                 AdditionalTextLine{"wir bieten Ihnen wie folgt an.", ""},
                 AdditionalTextLine{"Lieferzeit etwa drei Wochen.", "fsItalic"},
                 AdditionalTextLine{"Dieses Angebot gilt 30 Tage.", "fsBold, fsItalic"}};

    std::unique_ptr<QWidget> window;
    if (mode == QLatin1String("rabatt")) {
        auto *w = new TfrmRabatt(env.state());
        w->prepare(doc, QStringLiteral("Treuerabatt"), QStringLiteral("5,00"));
        window.reset(w);
    } else if (mode == QLatin1String("skonto")) {
        auto *w = new TfrmSconto(env.state());
        w->prepare(doc, QStringLiteral("bei Zahlung innerhalb von 10 Tagen"), QStringLiteral("2,00"));
        window.reset(w);
    } else if (mode == QLatin1String("zusatztext")) {
        auto *w = new TfrmZusatzText(env.state());
        w->prepare(doc);
        window.reset(w);
    } else {
        auto *w = new TfrmArtikelEintragen(env.state());
        w->prepare(doc, QStringLiteral("19,00 %"));
        w->findChild<QListWidget *>(QStringLiteral("lstVorgangsliste"))->setCurrentRow(0);
        w->findChild<QLineEdit *>(QStringLiteral("edtBezeichnung"))->setText(QStringLiteral("Schreibtisch Buche 160 x 80"));
        w->findChild<QLineEdit *>(QStringLiteral("edtArtikelNr"))->setText(QStringLiteral("T-210"));
        w->findChild<QLineEdit *>(QStringLiteral("edtAnzahl"))->setText(QStringLiteral("1"));
        w->findChild<QLineEdit *>(QStringLiteral("edtEinzelpreis"))->setText(QStringLiteral("489,00"));
        w->findChild<TextLinesGrid *>(QStringLiteral("grdZusatztext"))->setTexts({"Buche natur", "Kabeldurchlass"});
        if (mode == QLatin1String("klein")) {
            auto *k = w->findChild<TfrmArtikelKlein *>();
            k->prepareChange(store.search(ArticleStore::SearchColumn::Bezeichnung, "Kleider", QString()).first(),
                             QStringLiteral("19,00 %"));
            w->show();
            window.reset(w);
            k->show();
            if (!grabFile.isEmpty())
                QTimer::singleShot(500, [k, grabFile] {
                    k->grab().save(grabFile);
                    QApplication::quit();
                });
            return app.exec();
        }
        window.reset(w);
    }
    window->show();
    if (!grabFile.isEmpty())
        QTimer::singleShot(500, [&] {
            window->grab().save(grabFile);
            QApplication::quit();
        });
    return app.exec();
}
