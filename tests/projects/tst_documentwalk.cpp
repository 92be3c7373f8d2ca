#include "ArticleStore.h"
#include "ContactStore.h"
#include "DialogDriver.h"
#include "DocumentStore.h"
#include "Formats.h"
#include "QueryRows.h"
#include "SqlQuery.h"
#include "TestEnv.h"
#include "TextLinesGrid.h"
#include "TfrmArtikelEintragen.h"
#include "TfrmRabatt.h"
#include "TfrmSconto.h"
#include "TfrmZusatzText.h"
#include "Totals.h"

#include <QCheckBox>
#include <QTableView>
#include <QtTest>

// The way of a quotation: a customer is entered, a project is opened for it,
// the quotation gets catalogue and typed lines with their texts, a discount and
// four lines of additional text through the dialogs, and is saved; its lines
// then become an order and an invoice with a Skonto. The project window joins
// the steps later; here the dialogs work on the document value as the page
// hands it to them, and the stored rows are read back with SQL.

namespace {

struct Project
{
    qint64 number = 0;
    qint64 customer = 0;
    QString rabattText, rabatt, skontoText, skonto, vat;
};

// The customer Muster GmbH with its address, and a project for it with the
// defaults the new-project window copies from the contact.
Project customerAndProject(TestEnv &env)
{
    CompanyRecord c;
    c.IDF = env.state().dmCommon.GetNextKundenNr();
    c.name = QStringLiteral("Muster GmbH");
    c.mainAddress = {QStringLiteral("Firmensitz"), QStringLiteral("Marktplatz 3"), QStringLiteral("12345"),
                     QStringLiteral("Musterstadt"), QStringLiteral("Deutschland"), QString()};
    ContactStore(env.state()).insertCompany(c);

    Project p{env.state().dmCommon.GetNextProjektNr(), c.IDF, QStringLiteral("Treuerabatt"), QStringLiteral("5,00"),
              QStringLiteral("bei Zahlung innerhalb von 10 Tagen"), QStringLiteral("2,00"), QStringLiteral("19,00 %")};
    const qint64 address = env.state().dmCommon.GetNextPrAdresseIDA();
    env.exec(QStringLiteral("INSERT INTO pradresse (IDA, Bez, Strasse, PLZ, Ort, Land) "
                            "VALUES (%1, 'Firmensitz', 'Marktplatz 3', '12345', 'Musterstadt', 'Deutschland')")
                 .arg(address));
    env.exec(QStringLiteral("INSERT INTO projekt (PrNr, VName, NName, USt, Anschrift, LAnschrift, RAnschrift, Datum, "
                            "UIDStatus, EFirma, KNr) VALUES (%1, 'Muster GmbH', '', '19,00 %', %2, %2, %2, "
                            "'01.03.2024', 'N', 'Halvard GmbH, Hafenstraße 1, 20457 Hamburg', %3)")
                 .arg(p.number)
                 .arg(address)
                 .arg(c.IDF));
    env.exec(QStringLiteral("INSERT INTO projekttofn (IDP, IDFN, PrName) VALUES (%1, %2, 'Umbau Lager')")
                 .arg(p.number)
                 .arg(c.IDF));
    env.exec(QStringLiteral("INSERT INTO projektrabatt (PrNr, RabattText, Rabatt, ScontoText, Sconto, Zahlungsziel, "
                            "Preisgruppe) VALUES (%1, 'Treuerabatt', 5, 'bei Zahlung innerhalb von 10 Tagen', 2, 14, "
                            "'Eins')")
                 .arg(p.number));
    return p;
}

// A new document of the project as its page starts it.
Document newDocument(TestEnv &env, DocumentKind kind, const Project &p)
{
    Document d(kind);
    d.number = env.state().dmCommon.GetNextBelegNr(kind.numberRange());
    d.projectNumber = p.number;
    d.date = QStringLiteral("05.03.2024");
    d.projectName = QStringLiteral("Umbau Lager");
    d.ownCompany = QStringLiteral("Halvard GmbH, Hafenstraße 1, 20457 Hamburg");
    d.address = {QStringLiteral("Muster GmbH"), QStringLiteral("Marktplatz 3"), QStringLiteral("12345 Musterstadt")};
    if (kind.hasSecondAddress())
        d.secondAddress = d.address;
    return d;
}

// What a take-over hands the next kind: the lines; the additional text only
// between equal kinds, so the new kind's dialog offers its own template.
Document takenOver(TestEnv &env, const Document &from, DocumentKind kind, const Project &p)
{
    Document d = newDocument(env, kind, p);
    d.lines = from.lines;
    Totals::compute(d.lines, d.totals, Totals::readRates(env.db()));
    return d;
}

QStringList storedLines(TestEnv &env, const Document &d)
{
    return allRows(env, QStringLiteral("SELECT RF, Pos, ArtikelNr, Bezeichnung, Anzahl, Einzelpreis, Betrag, MwSt, "
                                       "Rabatt FROM %1 WHERE BelegNr=%2 ORDER BY RF")
                            .arg(d.kind.lineTable())
                            .arg(d.number));
}

const QStringList expectedLines = {
    "1/1/S-100/Schrank/2/1.234,50/2.469,00 /19,00 %/",
    "2///aus Eiche/////",
    "3///geölt/////",
    "4/2//Montage/3,5/45,00/157,50 /19,00 %/",
    "5///Aufbau vor Ort/////",
    "6/3//Treuerabatt//5,00 %/-131,32//5,00",
};

} // namespace

class TestDocumentWalk : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void quotationOrderInvoice();
};

void TestDocumentWalk::quotationOrderInvoice()
{
    TestEnv env;
    const Project project = customerAndProject(env);
    ArticleStore(env.db()).insert({"Schrank", "S-100", "Möbel", Amount::fromText("1234,5"), "19,00 %"},
                                  {"aus Eiche", "geölt"});
    Document quotation = newDocument(env, DocumentKind::Angebot, project);

    // Artikeldaten: one article from the catalogue, one typed with its own text.
    {
        TfrmArtikelEintragen w(env.state());
        w.prepare(quotation, project.vat);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        type(w, "edtSuche", "Schrank");
        clickRow(control<QTableView>(w, "grdArtikelliste"), 0, true);
        type(w, "edtAnzahl", "2");
        QVERIFY(click(w, "btnUebernehmen"));
        type(w, "edtBezeichnung", "Montage");
        type(w, "edtAnzahl", "3,5");
        type(w, "edtEinzelpreis", "45");
        control<TextLinesGrid>(w, "grdZusatztext")->setTexts({"Aufbau vor Ort"});
        QVERIFY(click(w, "btnOk"));
        QVERIFY(!w.isVisible());
        QVERIFY(w.changed());
        quotation = w.document();
    }
    QCOMPARE(env.dialogs().messages(), QStringList(2, "Artikel eingetragen"));

    // Rabatt with the project's default, then the quotation's additional text.
    {
        TfrmRabatt dialog(env.state());
        dialog.prepare(quotation, project.rabattText, project.rabatt);
        QVERIFY(click(dialog, "btnEintragen"));
        quotation = dialog.document();
    }
    {
        TfrmZusatzText dialog(env.state());
        dialog.prepare(quotation);
        type(dialog, "edtZeile1", "Sehr geehrte Damen und Herren,");
        type(dialog, "edtZeile2", "wir bieten Ihnen an:");
        type(dialog, "edtZeile3", "Lieferzeit 3 Wochen.");
        type(dialog, "edtZeile4", "Dieses Angebot gilt 30 Tage.");
        control<QCheckBox>(dialog, "chkFett1")->setChecked(true);
        control<QCheckBox>(dialog, "chkFett4")->setChecked(true);
        control<QCheckBox>(dialog, "chkKursiv4")->setChecked(true);
        control<QCheckBox>(dialog, "chkKursiv3")->setChecked(true);
        control<QCheckBox>(dialog, "chkFett2")->setChecked(false);
        control<QCheckBox>(dialog, "chkKursiv2")->setChecked(false);
        QVERIFY(click(dialog, "btnEintragen"));
        quotation = dialog.document();
    }
    QCOMPARE(quotation.totals.net(), QStringLiteral("2.495,18 €"));
    QCOMPARE(quotation.totals.vatLines(), QStringList{"474,08 € (19,00 %)"});
    QCOMPARE(quotation.totals.gross(), QStringLiteral("2.969,26 €"));

    DocumentStore store(env.db(), env.dialogs());
    QCOMPARE(store.save(quotation), DocumentStore::SaveResult::Saved);
    const QString n = QString::number(quotation.number);
    QCOMPARE(allRows(env, "SELECT BelegNr, ProjektNr, Datum, PName, RL, EFirma FROM angebote"),
             QStringList{n + "/" + QString::number(project.number)
                         + "/05.03.2024/Umbau Lager/N/Halvard GmbH, Hafenstraße 1, 20457 Hamburg"});
    QCOMPARE(allRows(env, "SELECT Art, Name, Strasse, PLZOrt FROM angeboteanschrift WHERE BelegNr=" + n),
             QStringList{"Anschrift/Muster GmbH/Marktplatz 3/12345 Musterstadt"});
    QCOMPARE(storedLines(env, quotation), expectedLines);
    QCOMPARE(allRows(env, "SELECT Zeile, Style, Text FROM angeboteztext WHERE BelegNr=" + n + " ORDER BY Zeile"),
             (QStringList{"1/fsBold/Sehr geehrte Damen und Herren,", "2//wir bieten Ihnen an:",
                          "3/fsItalic/Lieferzeit 3 Wochen.", "4/fsBold, fsItalic/Dieses Angebot gilt 30 Tage."}));
    QCOMPARE(allRows(env, "SELECT ScontoText, Sconto FROM angeboteextra WHERE BelegNr=" + n), QStringList{"/"});

    // Loading it again gives the same document.
    const DocumentStore::Loaded loaded = store.load(DocumentKind::Angebot, quotation.number);
    QCOMPARE(loaded.document.totals.gross(), QStringLiteral("2.969,26 €"));
    QCOMPARE(loaded.captions.discount, QStringLiteral("&Rabatt 5,00 %"));

    // The order: the lines come over; the order's template is offered.
    Document order = takenOver(env, quotation, DocumentKind::Auftrag, project);
    {
        TfrmZusatzText dialog(env.state());
        dialog.prepare(order);
        QCOMPARE(control<QComboBox>(dialog, "cboVorlage")->currentText(), QStringLiteral("Auftrag"));
        QCOMPARE(edit(dialog, "edtZeile1")->text(), QStringLiteral("Vielen Dank für Ihren Auftrag."));
        QVERIFY(click(dialog, "btnEintragen"));
        order = dialog.document();
    }
    QCOMPARE(store.save(order), DocumentStore::SaveResult::Saved);
    QCOMPARE(storedLines(env, order), expectedLines);
    QCOMPARE(env.scalar("SELECT Style FROM auftraegeztext WHERE Zeile=1 AND BelegNr=" + QString::number(order.number)),
             QStringLiteral("fsBold"));

    // The invoice, with the project's Skonto.
    Document invoice = takenOver(env, order, DocumentKind::Rechnung, project);
    invoice.paymentTerm = QStringLiteral("14");
    {
        TfrmSconto dialog(env.state());
        dialog.prepare(invoice, project.skontoText, project.skonto);
        QVERIFY(click(dialog, "btnEintragen"));
        invoice = dialog.document();
    }
    QCOMPARE(invoice.lines.captions(invoice.skontoPercent).skonto, QStringLiteral("&Skonto 2,00 %"));
    QCOMPARE(store.save(invoice), DocumentStore::SaveResult::Saved);
    const QString r = QString::number(invoice.number);
    QCOMPARE(storedLines(env, invoice), expectedLines);
    QCOMPARE(allRows(env, "SELECT ScontoText, Sconto FROM rechnungenextra WHERE BelegNr=" + r),
             QStringList{"bei Zahlung innerhalb von 10 Tagen/2,00"});
    QCOMPARE(allRows(env, "SELECT Netto, Brutto FROM rechnungenbetrag WHERE BelegNr=" + r),
             QStringList{"2495,18/2969,26"});
    QCOMPARE(allRows(env, "SELECT ZZiel, EDatum, Betrag, Name, Gebucht FROM rechnungenop WHERE RNR=" + r),
             QStringList{"14/19.03.2024/2969,26/Muster GmbH/N"});
    QCOMPARE(env.dialogs().unanswered(), 0);
}

QTEST_MAIN(TestDocumentWalk)
#include "tst_documentwalk.moc"
