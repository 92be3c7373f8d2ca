#include "ReceivablesFixtures.h"
#include "TfrmMahnung.h"
#include "TfrmOP.h"
#include "QueryRows.h"
#include "ReceivablesStore.h"
#include "Formats.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void typeInto(QLineEdit *field, const QString &text)
{
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

QStringList listed(const TfrmOP &w, int column)
{
    QStringList out;
    for (const OpenItemRow &r : w.model().rows())
        out << OpenItemsModel::cellText(r, column).trimmed();
    return out;
}

} // namespace

class TestTfrmOP : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void filtersSearchAndPanels();
    void bookingThroughTheWindow();
    void changeBookingOfSettledInvoice();
    void dunningFromTheList();
    void listAsCsvAndPdf();
};

void TestTfrmOP::filtersSearchAndPanels()
{
    TestEnv env;
    AddReceivablesCustomers(env);
    AddInvoice(env, 1, 1, "1000", 5);
    AddInvoice(env, 2, 2, "500", 0, "N", "0", "2");
    AddInvoice(env, 3, 1, "1000", -30, "N", "400");
    AddInvoice(env, 5, 1, "800", -60, "J", "0");
    env.state().grantAll();
    TfrmOP w(env.state());
    w.activate();
    QCOMPARE(listed(w, OpenItemsModel::Name), QStringList({"Kunde 2", "Kunde 3"}));
    QCOMPARE(listed(w, OpenItemsModel::RNr), QStringList({"000002", "000003"}));
    QCOMPARE(w.model().headerData(OpenItemsModel::RNr, Qt::Horizontal, Qt::DisplayRole).toString().trimmed(),
             "Rechnungs-Nr.");
    QCOMPARE(w.edtRest->text(), QString()); // nothing typed yet
    // The due day itself counts as overdue: red, and it may be dunned.
    QCOMPARE(w.model().data(w.model().index(0, 0), Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));
    QCOMPARE(w.edtRNr->text(), "000002");
    QCOMPARE(w.edtPersonFirma->text(), "Dr. Hans Meier");
    QCOMPARE(w.edtTelefonAP->text(), "0761 300");
    QCOMPARE(w.lblSkonto->text(), "2 %      ()");
    QCOMPARE(w.edtMitSkonto->text(), "490,00 €");
    QVERIFY(w.btnMahnung->isEnabled() && w.btnErfassen->isEnabled() && w.btnSkontoText->isEnabled());

    typeInto(w.edtSearch, "10");
    QCOMPARE(listed(w, OpenItemsModel::Name), QStringList({"Kunde 3"}));
    QCOMPARE(w.edtTelefonAP->text(), "0711 102"); // the company's first contact person
    w.actFilter[int(OpenItemFilter::All)]->trigger(); // the menu keeps the search
    QCOMPARE(listed(w, OpenItemsModel::Name), QStringList({"Kunde 1", "Kunde 3", "Kunde 5"}));
    QVERIFY(w.btnFilter[int(OpenItemFilter::All)]->isChecked());
    QTest::mouseClick(w.btnWeiter, Qt::LeftButton); // from "alle" back to "überfällige", search emptied
    QCOMPARE(w.filter(), OpenItemFilter::Overdue);
    QVERIFY(w.edtSearch->text().isEmpty() && w.actFilter[0]->isChecked());
    QTest::mouseClick(w.btnFilter[int(OpenItemFilter::Settled)], Qt::LeftButton);
    QCOMPARE(listed(w, OpenItemsModel::KNr), QStringList({"000010"}));
    QVERIFY(!w.btnMahnung->isEnabled() && !w.btnErfassen->isEnabled());
    QCOMPARE(w.lblMitSkonto->text(), "Rechnungsbetrag  mit Skonto");
    typeInto(w.edtSearch, "20"); // nothing found: every command of a row is off
    QCOMPARE(w.model().rowCount(), 0);
    QVERIFY(!w.btnMahnung->isEnabled() && !w.grpBuchen->isEnabled() && !w.btnSkontoText->isEnabled());
    QVERIFY(env.dialogs().log().isEmpty());
}

void TestTfrmOP::bookingThroughTheWindow()
{
    TestEnv env;
    AddReceivablesCustomers(env);
    AddInvoice(env, 1, 1, "1000", 3, "N", "600", "2");
    AddInvoice(env, 2, 1, "300", 9);
    AddPosting(env, 1, "400");
    TfrmOP w(env.state());
    w.setFilter(OpenItemFilter::All, true);
    w.selectRow(1);
    QCOMPARE(QStringList({w.edtBetrag->text(), w.edtNachTeilzahlung->text(), w.edtMitSkonto->text()}),
             QStringList({"1.000,00 €", "600,00 €", "580,00 €"}));

    env.dialogs().answer(Dialogs::Answer::No); // overpaid at "700": the last key is taken back
    typeInto(w.edtGezahlt, "700,5");
    QCOMPARE(env.dialogs().questions(), QStringList{PaymentRules::OverpaymentQuestion});
    QCOMPARE(w.edtGezahlt->text(), "70,5");
    QCOMPARE(w.edtRest->text(), "529,50 €");
    typeInto(w.edtGezahlt, "5");

    env.dialogs().answer(Dialogs::Answer::Yes);
    QTest::mouseClick(w.btnErfassen, Qt::LeftButton);
    QCOMPARE(env.dialogs().questions().last(), "Rechnung mit 529,45 € Restbetrag ohne Skonto erfassen?");
    QCOMPARE(allRows(env, "SELECT RBetrag, Gebucht FROM rechnungenop WHERE RNR=1"), QStringList{"529,45/N"});
    QCOMPARE(w.currentRow()->invoice, qint64(1)); // "alle Rechnungen" keeps the booked row
    QCOMPARE(w.edtNachTeilzahlung->text(), "529,45 €");
    QVERIFY(w.btnTeilbuchung->isEnabled());

    typeInto(w.edtGezahlt, "1.5"); // no amount: no remaining amount, nothing booked, no question
    QVERIFY(w.edtRest->text().isEmpty());
    env.dialogs().clear();
    QTest::mouseClick(w.btnErfassen, Qt::LeftButton);
    QCOMPARE(env.dialogs().messages(), QStringList{PaymentRules::invalidPaidMessage("1.5")});
    QVERIFY(env.dialogs().questions().isEmpty());
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM teilbuchung"), "2");

    // Nothing typed and "Mit Skonto": the rest with Skonto settles the invoice. Its
    // Skonto period ("in 8 Tagen" from 27 days ago) is over: the user is asked first.
    w.edtGezahlt->clear();
    QTest::mouseClick(w.chkMitSkonto, Qt::LeftButton);
    const QString late = PaymentRules::lateSkontoQuestion(QDate::currentDate().addDays(-19));
    QCOMPARE(late, "Die Skontofrist ist am " + DateToStr(QDate::currentDate().addDays(-19))
                       + " abgelaufen. Trotzdem mit Skonto buchen?");
    env.dialogs().clear();
    env.dialogs().answer(Dialogs::Answer::No);
    QTest::mouseClick(w.btnErfassen, Qt::LeftButton);
    QCOMPARE(env.dialogs().questions(), QStringList{late});
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM teilbuchung"), "2");
    env.dialogs().answer(Dialogs::Answer::Yes);
    env.dialogs().answer(Dialogs::Answer::Yes);
    QTest::mouseClick(w.btnErfassen, Qt::LeftButton);
    QCOMPARE(env.dialogs().questions().size(), 3);
    QCOMPARE(allRows(env, "SELECT RBetrag, Gebucht, Skonto FROM rechnungenop WHERE RNR=1"), QStringList{"0/J/J"});
    QCOMPARE(env.column("SELECT Betrag FROM teilbuchung ORDER BY ID"), QStringList({"400", "70,55", "509,45"}));
    QCOMPARE(env.column("SELECT COALESCE(Skonto, '') FROM teilbuchung ORDER BY ID"), QStringList({"", "N", "S"}));
    QVERIFY(!w.btnErfassen->isEnabled());
    // the part-payment list tells the late Skonto, and the booked invoice counts as issued
    QVERIFY(PaymentRules::postingsMessage(ReceivablesStore(env.db(), env.state().dmCommon).postings(1), "€")
                .contains("509,45 €  mit Skonto nach Ablauf der Skontofrist"));
    QVERIFY(env.scalar("SELECT Ausgestellt FROM rechnungen WHERE BelegNr=1").endsWith(" Zahlung"));
}

void TestTfrmOP::changeBookingOfSettledInvoice()
{
    TestEnv env;
    AddReceivablesCustomers(env);
    AddInvoice(env, 5, 1, "800", -60, "J", "0");
    AddPosting(env, 5, "800");
    TfrmOP w(env.state());
    w.setFilter(OpenItemFilter::Settled, true);
    QVERIFY(!w.grpBuchen->isEnabled());
    w.actChangeBooking->trigger();
    QVERIFY(w.grpBuchen->isEnabled() && w.btnErfassen->isEnabled());
    typeInto(w.edtGezahlt, "-100"); // a correction never asks the overpayment question
    QCOMPARE(w.edtRest->text(), "100,00 €");
    env.dialogs().answer(Dialogs::Answer::Yes);
    QTest::mouseClick(w.btnErfassen, Qt::LeftButton);
    QCOMPARE(env.dialogs().questions(), QStringList{"Rechnung mit 100,00 € Restbetrag ohne Skonto erfassen?"});
    QCOMPARE(allRows(env, "SELECT RBetrag, Gebucht FROM rechnungenop"), QStringList{"100/N"});
    QCOMPARE(w.model().rowCount(), 0); // no longer settled
}

void TestTfrmOP::dunningFromTheList()
{
    TestEnv env;
    AddReceivablesCustomers(env);
    AddInvoice(env, 3, 1, "1234.56", -30);
    env.state().grantAll();
    TfrmOP w(env.state());
    TfrmMahnung dunning(env.state());
    w.setDunningWindow(&dunning);
    QString firstLine, amountLine;
    w.setDunningShower([&](TfrmMahnung &m) {
        firstLine = m.memLetter->toPlainText().section('\n', 0, 0);
        amountLine = m.memLetter->toPlainText().section('\n', 3, 3);
        QVERIFY(m.cmdSave());
    });
    w.activate();
    QTest::mouseClick(w.btnMahnung, Qt::LeftButton);
    QCOMPARE(firstLine, "Sehr geehrte Damen und Herren,");
    QVERIFY2(amountLine.startsWith("Nr. 000003 vom ") && amountLine.endsWith(" über 1.234,56 € noch nicht beglichen ist."),
             qPrintable(amountLine));
    QCOMPARE(listed(w, OpenItemsModel::Stufe), QStringList{"1"});
    QCOMPARE(w.edtRNr->text(), "000003");
}

void TestTfrmOP::listAsCsvAndPdf()
{
    TestEnv env;
    AddReceivablesCustomers(env);
    AddInvoice(env, 1, 1, "1234.5", -3, "N", "234.5");
    AddPosting(env, 1, "1000");
    AddInvoice(env, 2, 2, "99.99", -4);
    env.exec("UPDATE rechnungenop SET Name='=Bau; \"Nord\"' WHERE RNR=2");
    TfrmOP w(env.state());
    w.activate();
    QTemporaryDir out;
    env.dialogs().answerFile(out.filePath("liste.csv"));
    w.actCsvList->trigger();
    QFile csv(out.filePath("liste.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QString due1 = DateToStr(QDate::currentDate().addDays(-3)), due2 = DateToStr(QDate::currentDate().addDays(-4));
    QCOMPARE(QString::fromUtf8(csv.readAll()),
             QString("\uFEFFK-Nr.;Rechnungs-Nr.;Datum ->;Ziel;<- Datum;St.;Betrag;Offen;Firma/Name\r\n"
                     "000010;000001;%1;30;%2;0;1234,50;234,50;Kunde 1\r\n"
                     "000020;000002;%3;30;%4;0;99,99;99,99;\"'=Bau; \"\"Nord\"\"\"\r\n"
                     "Summe;;;;;;;334,49;\r\n")
                 .arg(DateToStr(QDate::currentDate().addDays(-33)), due1,
                      DateToStr(QDate::currentDate().addDays(-34)), due2));

    for (int n = 10; n < 130; ++n)
        AddInvoice(env, n, 2, "10", -10);
    w.reload();
    env.dialogs().answerFile(out.filePath("liste.pdf"));
    w.actPdfList->trigger();
    QProcess text;
    text.start("pdftotext", {"-layout", out.filePath("liste.pdf"), "-"});
    QVERIFY(text.waitForFinished());
    const QString pdf = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(pdf.contains("Offene Posten: überfällige Rechnungen") && pdf.contains("Stand: " + DateToStr(QDate::currentDate())),
             qPrintable(pdf.left(300)));
    QVERIFY(pdf.contains(QRegularExpression("000010 +000001 +\\S+ +30 +" + QRegularExpression::escape(due1)
                                            + " +0 +1.234,50 € +234,50 € +Kunde 1")));
    QVERIFY(pdf.contains(QRegularExpression("Summe: +1.534,49 € +122 Rechnungen")));
    // Every page has the heading and its number of the whole.
    QStringList pages;
    for (const auto &m : QRegularExpression("Seite (\\d+) von (\\d+)").globalMatch(pdf))
        pages << m.captured(1) + '/' + m.captured(2);
    QVERIFY2(pages.size() >= 2 && pages.size() == pdf.count("Offene Posten: "), qPrintable(pages.join(' ')));
    for (int i = 0; i < pages.size(); ++i)
        QCOMPARE(pages[i], QString("%1/%2").arg(i + 1).arg(pages.size()));
    QVERIFY(env.dialogs().messages().isEmpty());
}

QTEST_MAIN(TestTfrmOP)
#include "tst_tfrmop.moc"
