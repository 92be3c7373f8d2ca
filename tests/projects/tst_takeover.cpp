#include "DocumentFixtures.h"
#include "DocumentStore.h"
#include "DocumentTakeOver.h"
#include "ProjectWindowFixtures.h"
#include "TVorgang.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

using K = DocumentKind;

// The permitted take-overs with their context-menu entries, spelt correctly, and
// whether the additional text goes along. Every other pair is forbidden.
struct Permitted
{
    K::Kind source, target;
    const char *entry;
    bool text;
};
const Permitted permittedPairs[] = {
    {K::Angebot, K::Angebot, "Inhalt des Angebotes in ein neues Angebot übernehmen", true},
    {K::Angebot, K::Auftrag, "Inhalt des Angebotes in einen neuen Auftrag übernehmen", false},
    {K::Angebot, K::Lieferschein, "Inhalt des Angebotes in einen neuen Lieferschein übernehmen", false},
    {K::Angebot, K::Rechnung, "Inhalt des Angebotes in eine neue Rechnung übernehmen", false},
    {K::Angebot, K::Ablage, "Inhalt des Angebotes in die Arbeitsablage übernehmen", true},
    {K::Auftrag, K::Angebot, "Inhalt des Auftrages in ein neues Angebot übernehmen", false},
    {K::Auftrag, K::Auftrag, "Inhalt des Auftrages in einen neuen Auftrag übernehmen", true},
    {K::Auftrag, K::Lieferschein, "Inhalt des Auftrages in einen neuen Lieferschein übernehmen", false},
    {K::Auftrag, K::Rechnung, "Inhalt des Auftrages in eine neue Rechnung übernehmen", false},
    {K::Auftrag, K::Ablage, "Inhalt des Auftrages in die Arbeitsablage übernehmen", true},
    {K::Lieferschein, K::Angebot, "Inhalt des Lieferscheins in ein neues Angebot übernehmen", false},
    {K::Lieferschein, K::Auftrag, "Inhalt des Lieferscheins in einen neuen Auftrag übernehmen", false},
    {K::Lieferschein, K::Lieferschein, "Inhalt des Lieferscheins in einen neuen Lieferschein übernehmen", true},
    {K::Lieferschein, K::Rechnung, "Inhalt des Lieferscheins in eine neue Rechnung übernehmen", false},
    {K::Lieferschein, K::Ablage, "Inhalt des Lieferscheins in die Arbeitsablage übernehmen", true},
    {K::Rechnung, K::Angebot, "Inhalt der Rechnung in ein neues Angebot übernehmen", false},
    {K::Rechnung, K::Auftrag, "Inhalt der Rechnung in einen neuen Auftrag übernehmen", false},
    {K::Rechnung, K::Lieferschein, "Inhalt der Rechnung in einen neuen Lieferschein übernehmen", false},
    {K::Rechnung, K::Rechnung, "Inhalt der Rechnung in eine neue Rechnung übernehmen", true},
    {K::Rechnung, K::Gutschrift, "Inhalt der Rechnung in eine neue Gutschrift übernehmen", false},
    {K::Rechnung, K::Ablage, "Inhalt der Rechnung in die Arbeitsablage übernehmen", true},
    {K::Gutschrift, K::Angebot, "Inhalt der Gutschrift in ein neues Angebot übernehmen", false},
    {K::Gutschrift, K::Auftrag, "Inhalt der Gutschrift in einen neuen Auftrag übernehmen", false},
    {K::Gutschrift, K::Lieferschein, "Inhalt der Gutschrift in einen neuen Lieferschein übernehmen", false},
    {K::Gutschrift, K::Rechnung, "Inhalt der Gutschrift in eine neue Rechnung übernehmen", false},
    {K::Gutschrift, K::Gutschrift, "Inhalt der Gutschrift in eine neue Gutschrift übernehmen", true},
    {K::Gutschrift, K::Ablage, "Inhalt der Gutschrift in die Arbeitsablage übernehmen", true},
    {K::Ablage, K::Angebot, "Inhalt der Arbeitsablage in ein neues Angebot übernehmen", true},
    {K::Ablage, K::Auftrag, "Inhalt der Arbeitsablage in einen neuen Auftrag übernehmen", true},
    {K::Ablage, K::Lieferschein, "Inhalt der Arbeitsablage in einen neuen Lieferschein übernehmen", true},
    {K::Ablage, K::Rechnung, "Inhalt der Arbeitsablage in eine neue Rechnung übernehmen", true},
    {K::Ablage, K::Ablage, "Inhalt der Arbeitsablage in eine neue Arbeitsablage übernehmen", true},
};

QStringList itemsOf(QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

QAction *takeOverAction(DocumentPage *page, const QString &target)
{
    return page->findChild<QAction *>(QStringLiteral("actTakeOverInto") + target);
}

const QString TargetQuestion = QStringLiteral("Der Zielvorgang ist nicht gesichert. Daten gehen verloren!");

} // namespace

class TestTakeOver : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pairs_data();
    void pairs();
    void saveQuestionBeforeTakeOver_data();
    void saveQuestionBeforeTakeOver();
    void invoiceIntoCreditNote();
    void creditNoteAboveWhatIsOwed();
    void fromAnotherProjectsDocument();
};

void TestTakeOver::pairs_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("entry"); // empty: forbidden
    QTest::addColumn<bool>("text");
    for (K source : K::all())
        for (K target : K::all()) {
            const Permitted *p = std::find_if(std::begin(permittedPairs), std::end(permittedPairs),
                                              [&](const Permitted &x) { return x.source == source && x.target == target; });
            const bool permitted = p != std::end(permittedPairs);
            QTest::addRow("%s into %s", qPrintable(source.name()), qPrintable(target.name()))
                << source.number() << target.number() << (permitted ? QString::fromUtf8(p->entry) : QString())
                << (permitted && p->text);
        }
}

// Lines, addresses, additional text and Skonto of every pair; the forbidden ones
// are not offered.
void TestTakeOver::pairs()
{
    QFETCH(int, source);
    QFETCH(int, target);
    QFETCH(QString, entry);
    QFETCH(bool, text);
    const K from = *K::fromNumber(source), into = *K::fromNumber(target);
    QCOMPARE(DocumentTakeOver::permitted(from, into), !entry.isEmpty());
    QCOMPARE(DocumentTakeOver::targets(from).contains(into), !entry.isEmpty());
    if (entry.isEmpty())
        return;
    QCOMPARE(DocumentTakeOver::menuEntry(from, into), entry);

    Document s = sampleDocument(from, 7, {"1|H-1|Brett|2|10,00|19,00 %", "||gehobelt", "2|H-2|Latte|1,5|4,00|  7,00 %",
                                          "3||Rabatt||5,00 %||5,00"});
    s.lines.setCell(1, LineList::Id, QStringLiteral("55"));
    s.address.street.clear(); // empty lines leave the target's
    s.secondAddress.postcodeTown.clear();
    s.invoiceNumber = 42;
    s.date = QStringLiteral("01.03.2004");
    s.serviceDate = QStringLiteral("24.02.2004");
    Document t(into);
    t.serviceDate = QStringLiteral("15.01.2004");
    t.ownCompany = QStringLiteral("Ziel-Absender");
    t.address = {QStringLiteral("Ziel GmbH"), QStringLiteral("Zielweg 1"), QStringLiteral("99999 Zielstadt")};
    if (into.hasSecondAddress())
        t.secondAddress = {QStringLiteral("Ziel Lager"), QStringLiteral("Lagerweg 2"), QStringLiteral("88888 Lagerort")};
    t.skontoText = QStringLiteral("3 % in 7 Tagen");
    t.skontoPercent = QStringLiteral("3,00");
    t.texts[0] = {QStringLiteral("Text des Ziels"), QStringLiteral("fsItalic")};
    t.invoiceNumber = 99;
    const Document before = t;

    DocumentTakeOver::copyInto(s, t);
    QCOMPARE(rowsOf(t.lines), rowsOf(s.lines));
    QCOMPARE(column(t.lines, LineList::Id), QStringList(4, QString()));
    QCOMPARE(t.ownCompany, s.ownCompany);
    QCOMPARE(t.address, (DocumentAddress{s.address.name, QStringLiteral("Zielweg 1"), s.address.postcodeTown}));
    const bool second = from.hasSecondAddress() && into.hasSecondAddress();
    const DocumentAddress secondExpected =
        second ? DocumentAddress{s.secondAddress.name, s.secondAddress.street, QStringLiteral("88888 Lagerort")}
               : before.secondAddress;
    QCOMPARE(t.secondAddress, secondExpected);
    const std::array<AdditionalTextLine, 4> textExpected = text ? s.texts : std::array<AdditionalTextLine, 4>{};
    QCOMPARE(t.texts, textExpected);
    QCOMPARE(t.skontoText, before.skontoText);
    QCOMPARE(t.skontoPercent, before.skontoPercent);
    const qint64 invoice = into != K::Gutschrift ? 0 : from == K::Rechnung ? 7 : 42;
    QCOMPARE(t.invoiceNumber, invoice);
    // An invoice was delivered on its delivery note's date; one made from an invoice
    // keeps that date of service; otherwise its own date will be.
    const bool invoiceLike = into == K::Rechnung || into == K::Gutschrift;
    const QString service = !invoiceLike                                   ? before.serviceDate
                            : from == K::Lieferschein                      ? s.date
                            : from == K::Rechnung || from == K::Gutschrift ? s.serviceDate
                                                                           : QString();
    QCOMPARE(t.serviceDate, service);
}

void TestTakeOver::saveQuestionBeforeTakeOver_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("withLines");   // the unsaved order has lines (else only a typed name)
    QTest::addColumn<int>("storedOrders"); // afterwards
    QTest::addColumn<QString>("shownLine"); // first line of the order page afterwards
    QTest::addColumn<qint64>("number");
    QTest::newRow("Yes lets the order go") << int(Dialogs::Answer::Yes) << true << 0 << "Brett" << qint64(1);
    QTest::newRow("Yes, only a name typed") << int(Dialogs::Answer::Yes) << false << 0 << "Brett" << qint64(1);
    QTest::newRow("Cancel stops") << int(Dialogs::Answer::Cancel) << true << 0 << "Offen" << qint64(1);
}

void TestTakeOver::saveQuestionBeforeTakeOver()
{
    QFETCH(int, answer);
    QFETCH(bool, withLines);
    QFETCH(int, storedOrders);
    QFETCH(QString, shownLine);
    QFETCH(qint64, number);
    TestEnv env;
    AddProjectContacts(env);
    ProjectWindowFixture f(env);
    f.newProject(10, true);
    DocumentPage *quote = f.page(K::Angebot);
    DocumentPage *order = f.page(K::Auftrag);
    f.detail->showPage(TfrmProjektDetail::AngebotPage);
    QVERIFY(!quote->cbUebernehmen->isEnabled()); // nothing to take over yet
    addArticle(quote, "Brett", "2", "10,00");
    quote->btnSave->click();
    QCOMPARE(itemsOf(quote->cbUebernehmen), QStringList({"Angebot", "Auftrag", "Lieferschein", "Rechnung", "Arbeitsablage"}));
    QVERIFY(!takeOverAction(quote, "Gutschrift"));
    f.detail->showPage(TfrmProjektDetail::AuftragPage);
    if (withLines)
        addArticle(order, "Offen", "1", "5,00");
    order->edtName->setText(QStringLiteral("Getippt"));
    Q_EMIT order->edtName->textEdited(QStringLiteral("Getippt"));
    f.detail->showPage(TfrmProjektDetail::AngebotPage);

    env.dialogs().answer(Dialogs::Answer(answer));
    Q_EMIT quote->cbUebernehmen->activated(1); // "Auftrag"
    QCOMPARE(quote->cbUebernehmen->currentIndex(), -1);
    QCOMPARE(env.dialogs().questions(), QStringList{TargetQuestion});
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM auftraege"), QString::number(storedOrders));
    QCOMPARE(order->document().lines.cell(1, LineList::Bezeichnung), shownLine);
    QCOMPARE(order->currentNumber(), number);
    QVERIFY(!order->isClean());
    if (shownLine == QLatin1String("Brett")) { // taken over: shown, computed, not yet stored
        QCOMPARE(f.detail->currentPage(), int(TfrmProjektDetail::AuftragPage));
        QCOMPARE(order->document().totals.gross(), QStringLiteral("23,80 €"));
        QVERIFY(order->isEditMode() && order->btnSave->isEnabled());
        QCOMPARE(env.scalar(QStringLiteral("SELECT COUNT(*) FROM auftraege WHERE BelegNr=%1").arg(number)), "0");
    }
    // What was typed stays unless the user let it go.
    QCOMPARE(order->edtName->text(), answer == int(Dialogs::Answer::Cancel) ? QStringLiteral("Getippt")
                                                                           : QStringLiteral("Muster GmbH"));

    // A source whose first row is a text line is offered, and refused with the warning.
    f.detail->showPage(TfrmProjektDetail::AngebotPage);
    quote->document().lines.setCell(1, LineList::Pos, QString());
    quote->documentChanged();
    QVERIFY(quote->cbUebernehmen->isEnabled());
    env.dialogs().answer(Dialogs::Answer::Yes);
    Q_EMIT quote->cbUebernehmen->activated(1);
    QCOMPARE(env.dialogs().texts(ScriptedDialogs::Kind::Warning).value(0),
             "Es sind keine Daten vorhanden. Vorgang wurde abgebrochen!");
}

void TestTakeOver::invoiceIntoCreditNote()
{
    TestEnv env;
    AddProjectContacts(env);
    ProjectWindowFixture f(env);
    f.newProject(10, true);
    DocumentPage *invoice = f.page(K::Rechnung);
    DocumentPage *credit = f.page(K::Gutschrift);
    f.detail->showPage(TfrmProjektDetail::RechnungPage);
    addArticle(invoice, "Dachlatte", "1,5", "1.234,50");
    const QString saveFirst = QStringLiteral("Die Rechnung muss bevor sie zur Gutschrift gemacht wird, gespeichert "
                                             "werden! Wollen Sie jetz die Rechnung speichern?");
    const QString paid = QStringLiteral("Rechung ist schon Bezahlt! Wollen Sie trozdem Weitermachen?");
    const auto take = [&](std::initializer_list<Dialogs::Answer> answers) {
        env.dialogs().clear();
        for (Dialogs::Answer a : answers)
            env.dialogs().answer(a);
        takeOverAction(invoice, "Gutschrift")->trigger();
        return env.dialogs().questions();
    };

    QCOMPARE(itemsOf(invoice->cbUebernehmen).count(QStringLiteral("Gutschrift")), 1);
    // The credit note offers its own take-overs in the context menu only.
    QCOMPARE(credit->takeOverActions.size(), 6);
    QVERIFY(credit->cbUebernehmen->isHidden());

    // An unsaved invoice is saved first, or nothing happens.
    QCOMPARE(take({Dialogs::Answer::Cancel}), QStringList{saveFirst});
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM rechnungen"), QStringLiteral("0"));
    QVERIFY(credit->isClean());
    QCOMPARE(take({Dialogs::Answer::Yes}), QStringList{saveFirst});
    QVERIFY(invoice->isClean());
    QCOMPARE(f.detail->currentPage(), int(TfrmProjektDetail::GutschriftPage));
    QCOMPARE(credit->grpDocument->title(), QStringLiteral("Gutschrift zur Rechnung Nr.: 000001"));
    QCOMPARE(credit->document().lines.cell(1, LineList::Bezeichnung), QStringLiteral("Dachlatte"));
    QVERIFY(credit->btnZusatztext->isEnabled()); // a take-over opens the credit note for changes
    credit->btnSave->click();
    QCOMPARE(env.scalar("SELECT ReNr || '/' || RNr FROM gutschriften, gutschriftenop "
                        "WHERE gutschriften.BelegNr=gutschriftenop.BelegNr"),
             QStringLiteral("1/1"));

    // A paid invoice asks once more; only Yes goes on.
    env.exec("UPDATE rechnungenop SET Gebucht='J' WHERE RNR=1");
    for (Dialogs::Answer a : {Dialogs::Answer::No, Dialogs::Answer::Cancel}) {
        QCOMPARE(take({a}), QStringList{paid});
        QVERIFY(credit->isClean() && credit->currentNumber() == 1);
    }
    QCOMPARE(take({Dialogs::Answer::Yes}), QStringList{paid});
    QVERIFY(!credit->isClean() && credit->currentNumber() == 2);
    // Changes to a stored invoice are saved before it becomes a credit note.
    invoice->cmdChange();
    addArticle(invoice, "Nachtrag", "1", "10,00");
    QCOMPARE(take({Dialogs::Answer::Yes, Dialogs::Answer::Yes, Dialogs::Answer::Cancel}),
             QStringList({paid, saveFirst, TargetQuestion}));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM rechnungenartikel WHERE BelegNr=1"), QStringLiteral("2"));
}

// The credit note page asks before a credit note above what its invoice still owes
// is saved; only Yes saves it.
void TestTakeOver::creditNoteAboveWhatIsOwed()
{
    TestEnv env;
    AddProjectContacts(env);
    ProjectWindowFixture f(env);
    f.newProject(10, true);
    DocumentPage *invoice = f.page(K::Rechnung);
    DocumentPage *credit = f.page(K::Gutschrift);
    f.detail->showPage(TfrmProjektDetail::RechnungPage);
    addArticle(invoice, "Dachlatte", "2", "100,00");
    invoice->btnSave->click();
    QVERIFY(invoice->isClean());
    env.dialogs().clear();
    // the whole invoice as a credit note: nothing is owed after it, and nothing asked
    takeOverAction(invoice, "Gutschrift")->trigger();
    QVERIFY(credit->cmdSave());
    QVERIFY(env.dialogs().log().isEmpty());

    // a second one for the same invoice goes above what is owed
    takeOverAction(invoice, "Gutschrift")->trigger();
    QVERIFY(!credit->isClean());
    for (Dialogs::Answer a : {Dialogs::Answer::No, Dialogs::Answer::Cancel}) {
        env.dialogs().clear();
        env.dialogs().answer(a);
        QVERIFY(!credit->cmdSave());
        QCOMPARE(env.dialogs().questions(), QStringList{DocumentStore::CreditNoteQuestion});
        QCOMPARE(env.dialogs().questionButtons(), QStringList{"Ja/Nein/Abbrechen"});
        QCOMPARE(env.dialogs().messages(), QStringList());
        QCOMPARE(env.scalar("SELECT COUNT(*) FROM gutschriften"), QStringLiteral("1"));
        QVERIFY(!credit->isClean());
    }
    env.dialogs().clear();
    env.dialogs().answer(Dialogs::Answer::Yes);
    QVERIFY(credit->cmdSave());
    QCOMPARE(env.dialogs().questions(), QStringList{DocumentStore::CreditNoteQuestion});
    QCOMPARE(env.dialogs().unanswered(), 0);
    QCOMPARE(env.column("SELECT RNr FROM gutschriftenop ORDER BY BelegNr"), (QStringList{"1", "1"}));
    QVERIFY(credit->isClean());
}

void TestTakeOver::fromAnotherProjectsDocument()
{
    TestEnv env;
    AddProjectContacts(env);
    ProjectWindowFixture f(env);
    // Project 1 of the company has a stored invoice with Skonto and text.
    f.newProject(10, true);
    Document stored = sampleDocument(K::Rechnung, 1, {"1|H-1|Brett|2|10,00|19,00 %", "||gehobelt"});
    stored.projectNumber = 1;
    DocumentStore(env.db(), env.dialogs()).save(stored);
    // Project 2 of the person takes it into a new invoice.
    f.newProject(20, false);
    DocumentPage *invoice = f.page(K::Rechnung);
    f.detail->showPage(TfrmProjektDetail::RechnungPage);
    QCOMPARE(f.detail->projectNumber(), qint64(2));

    QString caption;
    int listed = -1;
    QTimer::singleShot(0, [&] {
        auto *w = qobject_cast<TVorgang *>(QApplication::activeModalWidget());
        if (!w)
            return;
        caption = w->windowTitle();
        listed = w->tblResults->model()->rowCount();
        w->btnUebernehmen->click();
    });
    invoice->btnTakeOver->click();
    QCOMPARE(env.dialogs().texts(ScriptedDialogs::Kind::Warning),
             QStringList{"Hiermit fügen Sie Daten einer Rechnung in eine neue Rechnung ein!"});
    QCOMPARE(caption, QStringLiteral("aus Rechnung übernehmen"));
    QCOMPARE(listed, 1);
    QCOMPARE(rowsOf(invoice->document().lines), QStringList({"1|H-1|Brett|2|10,00|19,00 %", "||gehobelt"}));
    QCOMPARE(invoice->document().skontoPercent, stored.skontoPercent);
    QCOMPARE(invoice->document().texts, stored.texts);
    QCOMPARE(invoice->memText->toPlainText(), stored.textBoxText());
    QCOMPARE(invoice->edtName->text(), QStringLiteral("Herr Dr. Hans Meier")); // the project's own address
    QCOMPARE(invoice->currentNumber(), qint64(2));
    QVERIFY(!invoice->isClean());
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM rechnungen"), QStringLiteral("1"));
}

QTEST_MAIN(TestTakeOver)
#include "tst_takeover.moc"
