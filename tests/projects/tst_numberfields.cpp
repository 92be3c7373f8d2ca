#include "Errors.h"
#include "NumberEdit.h"
#include "ProjectPage.h"
#include "ProjectStore.h"
#include "TestEnv.h"
#include "TfrmArtikelEintragen.h"
#include "TfrmArtikelKlein.h"
#include "TfrmFiPeMehr.h"
#include "TfrmProjekt.h"
#include "TfrmRabatt.h"
#include "TfrmSconto.h"

#include <QApplication>
#include <QtTest>
#include <functional>
#include <memory>

// Every amount, percentage, quantity and days field of the program's windows
// keeps what the user types, and says at once when it cannot be stored.
class TestNumberFields : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyField_data();
    void everyField();
};

namespace {

using NumberInput::Kind;

struct Window
{
    const char *name;
    std::function<QWidget *(TestEnv &, ProjectStore &)> make;
    QStringList fields; // the number fields it must have, by objectName
};

QList<Window> windows()
{
    return {
        {"TfrmProjekt", [](TestEnv &e, ProjectStore &) { return new TfrmProjekt(e.state()); },
         {"edtRabatt", "edtSconto", "edtZahlungsziel"}},
        {"ProjectPage", [](TestEnv &e, ProjectStore &s) { return new ProjectPage(e.state(), s); },
         {"edtRabatt", "edtSkonto", "edtZahlungsziel"}},
        {"TfrmRabatt", [](TestEnv &e, ProjectStore &) { return new TfrmRabatt(e.state()); }, {"edtProzent"}},
        {"TfrmSconto", [](TestEnv &e, ProjectStore &) { return new TfrmSconto(e.state()); }, {"edtProzent"}},
        {"TfrmArtikelEintragen", [](TestEnv &e, ProjectStore &) { return new TfrmArtikelEintragen(e.state()); },
         {"edtAnzahl", "edtEinzelpreis"}},
        {"TfrmArtikelKlein", [](TestEnv &e, ProjectStore &) { return new TfrmArtikelKlein(e.state()); },
         {"edtEinzelpreisNetto", "edtBestand", "edtMindestbestand"}},
        {"TfrmFiPeMehr", [](TestEnv &e, ProjectStore &) { return new TfrmFiPeMehr(e.state()); },
         {"edtPaymentDays", "edtCashDiscountDays", "edtCashDiscount", "edtDiscount", "edtMaximumAmount"}},
    };
}

} // namespace

void TestNumberFields::everyField_data()
{
    // Which kinds take the text; the others refuse it with a message naming the field.
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("accepting");
    const QList<int> decimals{int(Kind::Money), int(Kind::Percent), int(Kind::Quantity)};
    QTest::newRow("1,5") << "1,5" << decimals;
    QTest::newRow("1.234,50") << "1.234,50" << QList<int>{int(Kind::Money), int(Kind::Quantity)};
    QTest::newRow("1.5 (English point)") << "1.5" << QList<int>{};
    QTest::newRow("-3") << "-3" << QList<int>{};
    QTest::newRow("abc") << "abc" << QList<int>{};
    QTest::newRow("99999999999999") << "99999999999999" << QList<int>{};
    QTest::newRow("12") << "12" << QList<int>{int(Kind::Money), int(Kind::Percent), int(Kind::Quantity),
                                              int(Kind::Days), int(Kind::Count)};
}

void TestNumberFields::everyField()
{
    QFETCH(QString, typed);
    QFETCH(QList<int>, accepting);
    for (const Window &w : windows()) {
        TestEnv env;
        ProjectStore store(env.db());
        std::unique_ptr<QWidget> window(w.make(env, store));
        window->show();
        QApplication::setActiveWindow(window.get());
        QStringList found;
        for (NumberEdit *e : window->findChildren<NumberEdit *>())
            if (e->window() == window.get()) // not those of a dialog it owns
                found << e->objectName();
        found.sort();
        QStringList expected = w.fields;
        expected.sort();
        QCOMPARE(found, expected);
        for (const QString &name : std::as_const(w.fields)) {
            const QByteArray where = QByteArray(w.name) + "." + name.toLatin1();
            auto *e = window->findChild<NumberEdit *>(name);
            e->setEnabled(true);
            e->setReadOnly(false);
            e->setFocus();
            e->clear();
            env.dialogs().clear();
            QTest::keyClicks(e, typed);
            QVERIFY2(e->text() == typed, where.constData()); // nothing dropped while typing
            QTest::keyClick(e, Qt::Key_Tab);
            const QStringList said = env.dialogs().messages();
            if (accepting.contains(int(e->field().kind))) {
                QVERIFY2(said.isEmpty(), where.constData());
                QVERIFY2(e->value().has_value(), where.constData());
            } else {
                QVERIFY2(said.size() == 1, where.constData());
                QVERIFY2(said.first().startsWith(QLatin1Char('"') + e->field().label + QStringLiteral("\": ")),
                         qPrintable(said.first()));
                QVERIFY2(said.first().endsWith(QStringLiteral("Keine Speicherung.")), qPrintable(said.first()));
                QVERIFY_THROWS_EXCEPTION(ConversionError, e->value());
                // leaving the field again with the same text does not repeat it
                e->setFocus();
                QTest::keyClick(e, Qt::Key_Tab);
                QVERIFY2(env.dialogs().messages().size() == 1, where.constData());
            }
        }
    }
}

QTEST_MAIN(TestNumberFields)
#include "tst_numberfields.moc"
