#include "DunningLetter.h"
#include "Document.h"
#include "OpenItem.h"
#include "Payment.h"

#include <QtTest>

using namespace OpenItemRules;
using namespace PaymentRules;

Q_DECLARE_METATYPE(OpenItemRow)

namespace {

Amount A(const char *text)
{
    return Amount::fromText(QString::fromUtf8(text));
}

const QDate Today(2024, 3, 15);

OpenItemRow item(const char *booked, const char *remaining, int dueInDays)
{
    OpenItemRow r;
    r.booked = QString::fromLatin1(booked);
    r.remaining = A(remaining);
    r.due = dueInDays == INT_MIN ? QDate() : Today.addDays(dueInDays);
    return r;
}

// The filters a row belongs to, as letters in filter order: O(verdue) R(emainder)
// U(npaid) S(ettled) A(ll).
QString filtersOf(const OpenItemRow &r)
{
    QString out;
    for (int f = 0; f < FilterCount; ++f)
        if (inFilter(OpenItemFilter(f), r, Today))
            out += QStringLiteral("ORUSA")[f];
    return out;
}

} // namespace

class TestOpenItemRules : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void states_data();
    void states();
    void panelAmounts_data();
    void panelAmounts();
    void booking_data();
    void booking();
    void messages();
    void lateSkonto();
    void letterPlaceholders_data();
    void letterPlaceholders();
    void letterFromShortTemplate();
    void wordBookmarksPreferBillingAddress();
};

void TestOpenItemRules::states_data()
{
    QTest::addColumn<OpenItemRow>("row");
    QTest::addColumn<QString>("filters");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<bool>("mayDun");
    const QColor none, red(Qt::red), yellow(Qt::yellow);
    QTest::newRow("unsettled, not due") << item("N", "0", 1) << "UA" << none << none << false;
    QTest::newRow("unsettled, due today") << item("N", "0", 0) << "OUA" << red << none << true;
    QTest::newRow("unsettled, overdue") << item("N", "0", -20) << "OUA" << red << none << true;
    QTest::newRow("part-paid, not due") << item("N", "250", 5) << "RUA" << Orange << MoneyGreen << false;
    QTest::newRow("part-paid, due today") << item("N", "250", 0) << "ORUA" << Orange << none << true;
    QTest::newRow("settled") << item("J", "0", -40) << "SA" << Green << none << false;
    QTest::newRow("overpaid") << item("J", "-12,50", -40) << "SA" << Green << yellow << false;
    // Booked again after "Buchung ändern" left a remainder, but marked settled by hand.
    QTest::newRow("J with remainder") << item("J", "100", -40) << "RA" << none << none << true;
    QTest::newRow("no due date") << item("N", "0", INT_MIN) << "UA" << none << none << false;
}

void TestOpenItemRules::states()
{
    QFETCH(OpenItemRow, row);
    QFETCH(QString, filters);
    QFETCH(QColor, text);
    QFETCH(QColor, background);
    QFETCH(bool, mayDun);
    QCOMPARE(filtersOf(row), filters);
    QCOMPARE(rowLook(row, Today), (RowLook{text, background}));
    QCOMPARE(OpenItemRules::mayDun(row, Today, true), mayDun);
    QVERIFY(!OpenItemRules::mayDun(row, Today, false));
}

void TestOpenItemRules::panelAmounts_data()
{
    QTest::addColumn<InvoiceFigures>("figures");
    QTest::addColumn<bool>("settled");
    QTest::addColumn<QString>("expected"); // afterCredits/outstanding/withSkonto|-/box/warning
    QTest::newRow("1000, 2 %, paid 400") << InvoiceFigures{A("1000"), {}, A("400"), "2"} << false
                                         << "1.000,00/600,00/580,00/box/";
    QTest::newRow("credit 100 on 1000, 2 %") << InvoiceFigures{A("1000"), A("100"), {}, "2"} << false
                                             << "900,00/900,00/882,00/box/";
    QTest::newRow("credit, payment, 2,5 %") << InvoiceFigures{A("2148,03"), A("148,03"), A("500"), "2,5"} << false
                                            << "2.000,00/1.500,00/1.450,00/box/";
    QTest::newRow("Skonto to the cent") << InvoiceFigures{A("999,99"), {}, {}, "3"} << false
                                        << "999,99/999,99/969,99/box/";
    QTest::newRow("paid in full") << InvoiceFigures{A("1000"), {}, A("1000"), ""} << true << "1.000,00/0,00/-/-/";
    QTest::newRow("Skonto above the rest") << InvoiceFigures{A("1000"), {}, A("990"), "2"} << false
                                           << "1.000,00/10,00/-10,00/-/";
    QTest::newRow("overpaid, open") << InvoiceFigures{A("1000"), {}, A("1010"), ""} << false
                                    << "1.000,00/-10,00/-/-/Ausstehender Betrag ist negativ!";
    QTest::newRow("overpaid, settled") << InvoiceFigures{A("1000"), {}, A("1010"), ""} << true
                                       << "1.000,00/-10,00/-/-/Betrag ist negativ!";
    QTest::newRow("credit above invoice") << InvoiceFigures{A("100"), A("150"), {}, ""} << false
                                          << "-50,00/-50,00/-/-/Ausstehender Betrag ist negativ!";
    QTest::newRow("zero invoice") << InvoiceFigures{A("0"), {}, {}, "2"} << false << "";
}

void TestOpenItemRules::panelAmounts()
{
    QFETCH(InvoiceFigures, figures);
    QFETCH(bool, settled);
    QFETCH(QString, expected);
    const PanelAmounts p = PaymentRules::panelAmounts(figures, settled);
    if (expected.isEmpty()) {
        QVERIFY(!p.shown);
        QVERIFY(!p.skontoBoxEnabled && !p.skontoTextEnabled);
        // Nothing to pay against: what is typed counts against 0, never a conversion error.
        QCOMPARE(remaining(referenceAmount(p, false), "50").value, A("-50"));
        return;
    }
    QVERIFY(p.shown);
    const QString got = QStringList{p.afterCredits.toText(), p.outstanding.toText(),
                                    p.withSkonto ? p.withSkonto->toText() : "-",
                                    p.skontoBoxEnabled ? "box" : "-", p.negativeWarning}
                            .join('/');
    QCOMPARE(got, expected);
    QCOMPARE(p.skontoTextEnabled, bool(p.withSkonto));
    QCOMPARE(p.afterCreditsColour, p.afterCredits < Amount() ? QColor(Qt::red) : QColor(Qt::black));
    const QColor without = p.outstanding > Amount() ? QColor(Qt::blue) : p.outstanding.isZero() ? DarkGreen : QColor(Qt::red);
    QCOMPARE(p.withoutSkontoColour, without);
    if (p.withSkonto)
        QCOMPARE(p.withSkontoColour, *p.withSkonto < Amount() ? QColor(Qt::red) : QColor(Qt::black));
}

void TestOpenItemRules::booking_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("withSkonto");
    QTest::addColumn<QString>("remainingShown"); // "" when the text is no amount yet
    QTest::addColumn<bool>("overpaid");
    QTest::addColumn<QString>("booked");         // new RBetrag/posting, or "" when nothing is booked
    // Invoice 1000 with 2 % Skonto and a part payment of 400: outstanding 600, with Skonto 580.
    QTest::newRow("nothing typed: all") << "" << false << "" << false << "0,00/600,00";
    QTest::newRow("nothing typed, Skonto") << "" << true << "" << false << "0,00/580,00";
    QTest::newRow("exact") << "600" << false << "0,00" << false << "0,00/600,00";
    QTest::newRow("exact with Skonto") << "580,00" << true << "0,00" << false << "0,00/580,00";
    QTest::newRow("partial") << "250,5" << false << "349,50" << false << "349,50/250,50";
    QTest::newRow("over") << "1.000" << false << "-400,00" << true << "-400,00/1.000,00";
    QTest::newRow("negative correction") << "-50" << false << "650,00" << false << "650,00/-50,00";
    QTest::newRow("minus alone") << "-" << false << "0,00" << false << "";
    QTest::newRow("decimal point") << "1.5" << false << "" << false << "";
    QTest::newRow("letters") << "abc" << false << "" << false << "";
    QTest::newRow("third decimal") << "1,005" << false << "" << false << "";
}

void TestOpenItemRules::booking()
{
    QFETCH(QString, typed);
    QFETCH(bool, withSkonto);
    QFETCH(QString, remainingShown);
    QFETCH(bool, overpaid);
    QFETCH(QString, booked);
    const PanelAmounts p = PaymentRules::panelAmounts({A("1000"), {}, A("400"), "2"}, false);
    const Amount reference = referenceAmount(p, withSkonto);
    const Remaining r = remaining(reference, typed);
    QCOMPARE(r.invalid ? QString() : r.value.toText(), remainingShown);
    QCOMPARE(r.overpaid, overpaid);
    const std::optional<Booking> b = planBooking(reference, typed, withSkonto);
    QCOMPARE(b ? b->remaining.toText() + '/' + b->posted.toText() : QString(), booked);
    if (b) {
        QCOMPARE(b->withSkonto, withSkonto);
        QCOMPARE(b->settles(), b->remaining <= Amount());
        QCOMPARE(b->remaining + b->posted, reference); // nothing is lost between the two
    }
}

void TestOpenItemRules::messages()
{
    QCOMPARE(bookingQuestion(A("1234,5"), "€", false), "Rechnung mit 1.234,50 € Restbetrag ohne Skonto erfassen?");
    QCOMPARE(bookingQuestion(A("0"), "CHF", true), "Rechnung mit 0,00 CHF Restbetrag mit Skonto erfassen?");
    QCOMPARE(skontoLabel("2", "N"), "2 %      (N)");
    QCOMPARE(skontoLabel("", "J"), "__,__ %      (J)");
    QCOMPARE(skontoMessage("2", "bei Zahlung in 8 Tagen", A("1000"), "€"),
             "2 % bei Zahlung in 8 Tagen. Das entspricht 980,00 €.");
    QCOMPARE(skontoMessage("", "kein Skonto", A("1000"), "€"), QString());
    QCOMPARE(postingsMessage({{"01.02.2024", A("400"), ""}, {"15.02.2024", A("1234,5"), "J"},
                              {"20.02.2024", A("-34,50"), "N"}},
                             "€"),
             QString("Geleistete Teilzahlungen:\n\n"
                     "01.02.2024:   400,00 €\n"
                     "15.02.2024: 1.234,50 €  mit Skonto\n"
                     "20.02.2024:   -34,50 €\n"
                     "----------------------------------\n"
                     " Gesamt:    1.600,00 €\n"
                     "================="));
}

void TestOpenItemRules::lateSkonto()
{
    const QDate deadline(2026, 12, 17);
    QVERIFY(!skontoLate(std::nullopt, QDate(2030, 1, 1))); // no period known: never late
    QVERIFY(!skontoLate(deadline, deadline));              // the last day still counts
    QVERIFY(skontoLate(deadline, deadline.addDays(1)));
    QCOMPARE(lateSkontoQuestion(deadline), "Die Skontofrist ist am 17.12.2026 abgelaufen. Trotzdem mit Skonto buchen?");
}

void TestOpenItemRules::letterPlaceholders_data()
{
    QTest::addColumn<QString>("anrede");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("filled");
    QTest::newRow("all, any case")
        << "Herr" << "[sanrede] [ANREDE1] [Anrede2] [Titel] [vname] [NName] [rnr] [Brutto] [datum]"
        << "Sehr geehrter Herr Dr. Meier, geehrte Frau .. geehrter Herr Herr Meier Dr. Hans Meier 000123 "
           "1.234,56 € 01.03.2024";
    QTest::newRow("twice") << "Frau" << "[RNr]/[RNr] [Anrede2]" << "000123/000123 Frau Meier";
    QTest::newRow("company salutation") << "Firma" << "Hallo [Anrede2]!" << "Hallo !";
    QTest::newRow("unknown stays") << "Herr" << "[Kunde] [RNr" << "[Kunde] [RNr";
}

void TestOpenItemRules::letterPlaceholders()
{
    QFETCH(QString, anrede);
    QFETCH(QString, line);
    QFETCH(QString, filled);
    // The title value looks like a placeholder: it must not be replaced again.
    const DunningPlaceholders v{anrede, "Dr.", "Hans", "Meier", "Sehr geehrter Herr Dr. Meier,",
                                "000123", "1.234,56 €", "01.03.2024"};
    QCOMPARE(DunningRules::fill(line, v), filled);
    DunningPlaceholders tricky = v;
    tricky.titel = "[RNr]";
    QCOMPARE(DunningRules::fill("[Titel] [RNr]", tricky), "[RNr] 000123");
}

void TestOpenItemRules::letterFromShortTemplate()
{
    const QStringList letter = DunningRules::composeLetter({"[SAnrede]", "", "Zahlen Sie [brutto].", "Gruß"},
                                                           {{}, {}, {}, {}, "Hallo,", "000001", "5,00 €", {}});
    QCOMPARE(letter.size(), 25);
    QCOMPARE(letter.mid(0, 4), QStringList({"Hallo,", "", "Zahlen Sie 5,00 €.", "Gruß"}));
    QCOMPARE(letter.mid(4), QStringList(21, "Gruß")); // the last row repeated
    QCOMPARE(DunningRules::composeLetter({}, {}), QStringList(25, QString()));
    QCOMPARE(DunningRules::templateLevel(4), 3);
    QCOMPARE(DunningRules::levelColour(1), QColor(Qt::black));
    QCOMPARE(DunningRules::levelColour(2), Orange);
    QCOMPARE(DunningRules::levelColour(5), QColor(Qt::red));
}

void TestOpenItemRules::wordBookmarksPreferBillingAddress()
{
    Document d(DocumentKind::Mahnung);
    d.number = 7;
    d.projectNumber = 3;
    d.date = "02.04.2024";
    d.ownCompany = "Halvard GmbH";
    d.address = {"Muster GmbH", "Hauptstraße 1", "70173 Stuttgart"};
    d.letterLines = {"Zeile 1", "Zeile 2"};
    auto values = [](const QList<WordBookmark> &list) {
        QStringList out;
        for (const WordBookmark &b : list)
            out << b.name + '=' + b.text;
        return out.join('|');
    };
    QCOMPARE(values(DunningRules::wordBookmarks(d, 10)),
             "Absender=Halvard GmbH|FiPe=Muster GmbH|Strasse=Hauptstraße 1|PLZOrt=70173 Stuttgart|"
             "Datum=02.04.2024|ProjektNr=000003|KundenNr=000010|VorgangsArt=Mahnung|VorgangsNr=000007|"
             "MahnText=Zeile 1\nZeile 2");
    d.secondAddress.street = "Postfach 12"; // one billing line is enough to address the billing
    QVERIFY(values(DunningRules::wordBookmarks(d, 10)).contains("|FiPe=|Strasse=Postfach 12|PLZOrt=|"));
}

QTEST_GUILESS_MAIN(TestOpenItemRules)
#include "tst_openitemrules.moc"
