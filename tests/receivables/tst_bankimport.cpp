#include "ReceivablesFixtures.h"
#include "TfrmKontoauszug.h"

#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {

const QString OwnAccount = QStringLiteral("DE02100500000054540402");

struct Credit
{
    const char *amount;
    const char *payer;
    const char *iban;
    const char *purpose;
    const char *reference;
    bool debit = false;
};

// A CAMT.053 statement of the account with one entry per credit.
QString writeStatement(TestEnv &env, const QString &name, const QString &account, const QList<Credit> &credits)
{
    QString x = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Document "
                               "xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001.02\"><BkToCstmrStmt><GrpHdr>"
                               "<MsgId>T</MsgId><CreDtTm>2026-12-01T18:00:00</CreDtTm></GrpHdr><Stmt><Id>S1</Id>"
                               "<Acct><Id><IBAN>%1</IBAN></Id><Ccy>EUR</Ccy></Acct>")
                    .arg(account);
    for (const Credit &c : credits)
        x += QStringLiteral("<Ntry><Amt Ccy=\"EUR\">%1</Amt><CdtDbtInd>%2</CdtDbtInd><Sts>BOOK</Sts>"
                            "<BookgDt><Dt>%3</Dt></BookgDt><ValDt><Dt>%3</Dt></ValDt><AcctSvcrRef>%4</AcctSvcrRef>"
                            "<NtryDtls><TxDtls><RltdPties><Dbtr><Nm>%5</Nm></Dbtr><DbtrAcct><Id><IBAN>%6</IBAN></Id>"
                            "</DbtrAcct><Cdtr><Nm>%5</Nm></Cdtr><CdtrAcct><Id><IBAN>%6</IBAN></Id></CdtrAcct></RltdPties>"
                            "<RmtInf><Ustrd>%7</Ustrd></RmtInf></TxDtls></NtryDtls></Ntry>")
                 .arg(QString::fromLatin1(c.amount), c.debit ? "DBIT" : "CRDT", QDate::currentDate().toString(Qt::ISODate),
                      QString::fromLatin1(c.reference), QString::fromUtf8(c.payer), QString::fromLatin1(c.iban),
                      QString::fromUtf8(c.purpose));
    x += QStringLiteral("</Stmt></BkToCstmrStmt></Document>");
    const QString path = env.path(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(x.toUtf8()) < 0)
        qFatal("cannot write the statement");
    return path;
}

// Invoice 311 of Muster GmbH (250,00 €, the customer's account known), 312 of Dr.
// Meier (1.000,01 €), and the company's own account.
void prepare(TestEnv &env)
{
    AddReceivablesCustomers(env);
    AddInvoice(env, 311, 1, "250", 20, "N", "250");
    AddInvoice(env, 312, 2, "1000.01", 20, "N", "1000.01");
    env.exec("INSERT INTO firmamehr (IDF, IBAN) VALUES (10, 'DE44 5001 0517 5407 3249 31')");
    env.exec("UPDATE firmendaten SET IBAN = '" + OwnAccount + "' WHERE Firma = 1");
}

const QList<Credit> statement = {
    {"250.00", "Muster GmbH", "DE44500105175407324931", "Rechnung 000311", "R-1"},
    {"400.00", "Hans Meier", "DE11111111111111111111", "Abschlag Fenster", "R-2"},
    {"19.99", "Stadtwerke", "DE22222222222222222222", "Strom", "R-3", true},
};

// An amount as the engine gives it back ("250.0", "250.00") in the program's form.
QString money(const QString &stored)
{
    return Amount::fromText(QString(stored).replace(QLatin1Char('.'), QLatin1Char(','))).toText();
}

// "311:250,00" per posting
QString booked(TestEnv &env)
{
    QStringList out;
    for (const QString &row : env.column("SELECT RNr || ':' || Betrag FROM teilbuchung ORDER BY ID"))
        out << row.section(QLatin1Char(':'), 0, 0) + QLatin1Char(':') + money(row.section(QLatin1Char(':'), 1));
    return out.join(QLatin1Char(' '));
}

// "J 0,00": state and remaining amount of an open item
QString openItem(TestEnv &env, int invoice)
{
    return env.scalar(QStringLiteral("SELECT Gebucht FROM rechnungenop WHERE RNR = %1").arg(invoice)) + QLatin1Char(' ')
           + money(env.scalar(QStringLiteral("SELECT RBetrag FROM rechnungenop WHERE RNR = %1").arg(invoice)));
}

} // namespace

class TestBankImport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void booksEachEntryOnce();
    void typedInvoiceIsBooked();
    void refusedStatementBooksNothing_data();
    void refusedStatementBooksNothing();
};

void TestBankImport::booksEachEntryOnce()
{
    TestEnv env;
    prepare(env);
    const QString file = writeStatement(env, "auszug.xml", OwnAccount, statement);
    TfrmKontoauszug window(env.state()), elsewhere(env.state());
    QVERIFY(window.load({file}));
    // without the right to book payments the list is shown, never booked
    QVERIFY(!window.btnBook->isEnabled());
    window.cmdBook();
    QCOMPARE(booked(env), QString());
    env.state().Perm[15] = true;
    QVERIFY(window.load({file}));
    QVERIFY(elsewhere.load({file}));
    const auto states = [](const TfrmKontoauszug &w) {
        QList<int> out;
        for (const ReviewRow &r : w.review().rows())
            out << int(r.state);
        return out;
    };
    using S = ReviewRow::State;
    QCOMPARE(states(window), (QList<int>{int(S::ToBook), int(S::Skipped), int(S::NotBooked)}));
    QCOMPARE(window.tblEntries->item(0, TfrmKontoauszug::ColInvoices)->text(), "000311");
    window.cmdBook();
    QCOMPARE(booked(env), "311:250,00");
    QCOMPARE(openItem(env, 311), "J 0,00");
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM bankbuchungen"), "1");
    // a second window that read the file before the booking books nothing twice
    elsewhere.cmdBook();
    QCOMPARE(booked(env), "311:250,00");
    QVERIFY(env.dialogs().messages().last().contains("Nicht gebucht"));
    // nor does the same file read again
    TfrmKontoauszug again(env.state());
    QVERIFY(again.load({file, file}));
    QCOMPARE(states(again), (QList<int>{int(S::Imported), int(S::Skipped), int(S::NotBooked), int(S::Imported),
                                        int(S::Imported), int(S::Imported)}));
    QVERIFY(!again.btnBook->isEnabled());
}

void TestBankImport::typedInvoiceIsBooked()
{
    TestEnv env;
    prepare(env);
    env.state().Perm[15] = true;
    TfrmKontoauszug window(env.state());
    QVERIFY(window.load({writeStatement(env, "auszug.xml", OwnAccount, statement)}));
    // Meier's instalment names no invoice: the user types it, and it is a part payment
    window.tblEntries->item(1, TfrmKontoauszug::ColInvoices)->setText("999");
    QVERIFY(env.dialogs().messages().last().contains("000999"));
    window.tblEntries->item(1, TfrmKontoauszug::ColInvoices)->setText("312");
    QCOMPARE(int(window.review().rows()[1].state), int(ReviewRow::State::ToBook));
    window.tblEntries->item(0, TfrmKontoauszug::ColBook)->setCheckState(Qt::Unchecked);
    window.cmdBook();
    QCOMPARE(booked(env), "312:400,00");
    QCOMPARE(openItem(env, 312), "N 600,01");
    QCOMPARE(openItem(env, 311), "N 250,00");
    // an entry with a single candidate takes it when ticked
    TfrmKontoauszug next(env.state());
    QVERIFY(next.load({writeStatement(env, "rest.xml", OwnAccount,
                                      {{"600.01", "Irgendwer", "DE11111111111111111111", "Restzahlung", "R-9"}})}));
    QCOMPARE(next.review().rows()[0].match.candidates, QList<qint64>{312});
    next.tblEntries->item(0, TfrmKontoauszug::ColBook)->setCheckState(Qt::Checked);
    next.cmdBook();
    QCOMPARE(openItem(env, 312), "J 0,00");
}

void TestBankImport::refusedStatementBooksNothing_data()
{
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("own");
    QTest::addColumn<QString>("message");
    QTest::newRow("another account's") << "DE89370400440532013000" << QString() << OwnAccount
                                       << "nicht zu den eigenen Konten";
    QTest::newRow("a further own account") << "DE89370400440532013000" << QString()
                                           << OwnAccount + ", DE89 3704 0044 0532 0130 00" << QString();
    QTest::newRow("no own account set") << OwnAccount << QString() << QString() << "kein eigenes Konto";
    QTest::newRow("not a statement") << OwnAccount << "Sehr geehrte Damen und Herren" << OwnAccount << "kein Kontoauszug";
    QTest::newRow("cut off") << OwnAccount << "<?xml version=\"1.0\"?><Document xmlns=\"urn:iso:std:iso:20022:tech:"
                                              "xsd:camt.053.001.02\"><BkToCstmrStmt><Stmt>"
                             << OwnAccount << "auszug.xml";
}

void TestBankImport::refusedStatementBooksNothing()
{
    QFETCH(QString, account);
    QFETCH(QString, content);
    QFETCH(QString, own);
    QFETCH(QString, message);
    TestEnv env;
    prepare(env);
    env.state().Perm[15] = true;
    const QList<QString> parts = own.split(", ");
    env.exec("UPDATE firmendaten SET IBAN = '" + parts.value(0) + "', WeitereKonten = '" + parts.value(1)
             + "' WHERE Firma = 1");
    QString file = writeStatement(env, "auszug.xml", account, statement);
    if (!content.isEmpty()) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content.toUtf8());
    }
    TfrmKontoauszug window(env.state());
    const bool read = window.load({file});
    QCOMPARE(read, message.isEmpty());
    if (message.isEmpty())
        return;
    QVERIFY2(env.dialogs().messages().last().contains(message), qPrintable(env.dialogs().messages().last()));
    QCOMPARE(window.tblEntries->rowCount(), 0);
    window.cmdBook();
    QCOMPARE(booked(env), QString());
}

QTEST_MAIN(TestBankImport)
#include "tst_bankimport.moc"
