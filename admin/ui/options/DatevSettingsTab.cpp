#include "DatevSettingsTab.h"

#include "AppState.h"
#include "DatevExportStore.h"
#include "Dialogs.h"
#include "EInvoice.h"
#include "VatTableStore.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { RateColumn, CategoryColumn, RevenueColumn, SkontoColumn };

QString accountText(const std::optional<qint64> &account)
{
    return account ? QString::number(*account) : QString();
}

// Digits or nothing; no value for anything else.
std::optional<std::optional<qint64>> accountOf(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::optional<qint64>();
    bool ok = false;
    const qint64 n = t.toLongLong(&ok);
    if (!ok || n < 0 || t.contains(QLatin1Char('+')))
        return std::nullopt;
    return std::optional<qint64>(n);
}

} // namespace

DatevSettingsTab::DatevSettingsTab(AppState &state, QWidget *parent) : OptionsPage(parent), m_state(state)
{
    setObjectName(QStringLiteral("tabDatev"));
    grpDatev = new QGroupBox(QStringLiteral("DATEV-Export"), this);
    grpDatev->setObjectName(QStringLiteral("grpDatev"));
    auto *form = new QFormLayout(grpDatev);
    const auto line = [this](const char *name) {
        auto *e = new QLineEdit(grpDatev);
        e->setObjectName(QLatin1String(name));
        connect(e, &QLineEdit::textEdited, this, [this] { setModified(true); });
        return e;
    };
    edtBerater = line("edtBerater");
    edtMandant = line("edtMandant");
    edtWJBeginn = line("edtWJBeginn");
    edtWJBeginn->setInputMask(QStringLiteral("99.99."));
    spnKontenlaenge = new QSpinBox(grpDatev);
    spnKontenlaenge->setObjectName(QStringLiteral("spnKontenlaenge"));
    spnKontenlaenge->setRange(4, 8);
    connect(spnKontenlaenge, &QSpinBox::valueChanged, this, [this] {
        if (!m_loading)
            setModified(true);
    });
    cbKontenrahmen = new QComboBox(grpDatev);
    cbKontenrahmen->setObjectName(QStringLiteral("cbKontenrahmen"));
    cbKontenrahmen->addItems({QStringLiteral("SKR03"), QStringLiteral("SKR04")});
    connect(cbKontenrahmen, &QComboBox::activated, this, [this] { setModified(true); });
    btnVorgaben = new QPushButton(QStringLiteral("&Vorgaben übernehmen"), grpDatev);
    btnVorgaben->setObjectName(QStringLiteral("btnVorgaben"));
    btnVorgaben->setToolTip(QStringLiteral("Erlös-, Skonto- und Bankkonto des gewählten Kontenrahmens eintragen"));
    connect(btnVorgaben, &QPushButton::clicked, this, &DatevSettingsTab::cmdPresets);
    auto *chart = new QHBoxLayout;
    chart->addWidget(cbKontenrahmen);
    chart->addWidget(btnVorgaben);
    chart->addStretch(1);
    tblKonten = new QTableWidget(0, 4, grpDatev);
    tblKonten->setObjectName(QStringLiteral("tblKonten"));
    tblKonten->setHorizontalHeaderLabels({QStringLiteral("Steuersatz"), QStringLiteral("Kategorie"),
                                          QStringLiteral("Erlöskonto"), QStringLiteral("Skontokonto")});
    tblKonten->verticalHeader()->hide();
    tblKonten->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    tblKonten->setMinimumHeight(140);
    connect(tblKonten, &QTableWidget::itemChanged, this, [this] {
        if (!m_loading)
            setModified(true);
    });
    edtBank = line("edtBankkonto");
    edtDebitorBasis = line("edtDebitorBasis");
    edtDebitorVon = line("edtDebitorVon");
    edtDebitorBis = line("edtDebitorBis");
    auto *range = new QHBoxLayout;
    range->addWidget(edtDebitorVon);
    range->addWidget(new QLabel(QStringLiteral("bis"), grpDatev));
    range->addWidget(edtDebitorBis);
    form->addRow(QStringLiteral("&Beraternummer:"), edtBerater);
    form->addRow(QStringLiteral("&Mandantennummer:"), edtMandant);
    form->addRow(QStringLiteral("Beginn des &Wirtschaftsjahres (TT.MM.):"), edtWJBeginn);
    form->addRow(QStringLiteral("&Länge der Sachkonten:"), spnKontenlaenge);
    auto *chartLabel = new QLabel(QStringLiteral("&Kontenrahmen:"), grpDatev);
    chartLabel->setBuddy(cbKontenrahmen);
    form->addRow(chartLabel, chart);
    form->addRow(QStringLiteral("Konten je Steuersatz:"), tblKonten);
    form->addRow(QStringLiteral("Ban&kkonto:"), edtBank);
    form->addRow(QStringLiteral("&Debitorenkonto = Kundennummer +"), edtDebitorBasis);
    form->addRow(QStringLiteral("Debitorenkonten von:"), range);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grpDatev);
    layout->addStretch(1);
}

void DatevSettingsTab::fillAccounts(const Datev::Settings &s)
{
    m_loading = true;
    tblKonten->setRowCount(int(m_rows.size()));
    for (int r = 0; r < m_rows.size(); ++r) {
        const RateRow &row = m_rows.at(r);
        const QStringList texts = {row.rate.toText() + QStringLiteral(" %"), row.category,
                                   accountText(s.revenueAccount(row.rate, row.category)),
                                   accountText(s.skontoAccount(row.rate, row.category))};
        for (int c = 0; c < texts.size(); ++c) {
            auto *item = new QTableWidgetItem(texts.at(c));
            if (c < RevenueColumn)
                item->setFlags(Qt::ItemIsEnabled);
            tblKonten->setItem(r, c, item);
        }
    }
    m_loading = false;
}

void DatevSettingsTab::load()
{
    m_loading = true;
    const Datev::Settings s = DatevExportStore(m_state.db).loadSettings();
    // One row per rate of the rate table, with the category its invoices carry.
    m_rows.clear();
    const QList<EInvoice::VatCategory> categories = VatTableStore(m_state.db).categories();
    for (const EInvoice::VatCategory &c : categories) {
        QString code = EInvoice::categoryOf(c.rate, categories).code;
        if (code.isEmpty())
            code = QStringLiteral("S");
        if (std::none_of(m_rows.cbegin(), m_rows.cend(),
                         [&](const RateRow &r) { return r.rate == c.rate && r.category == code; }))
            m_rows << RateRow{c.rate, code};
    }
    edtBerater->setText(s.consultantNumber);
    edtMandant->setText(s.clientNumber);
    edtWJBeginn->setText(s.fiscalYearStart.toString(QStringLiteral("dd.MM.")));
    spnKontenlaenge->setValue(s.accountLength);
    cbKontenrahmen->setCurrentIndex(s.chart == Datev::Chart::Skr04 ? 1 : 0);
    edtBank->setText(s.bankAccount > 0 ? QString::number(s.bankAccount) : QString());
    edtDebitorBasis->setText(QString::number(s.debtorBase));
    edtDebitorVon->setText(QString::number(s.debtorMin));
    edtDebitorBis->setText(QString::number(s.debtorMax));
    fillAccounts(s);
    m_loading = false;
    setModified(false);
}

void DatevSettingsTab::cmdPresets()
{
    const Datev::Settings p =
        Datev::Settings::presets(cbKontenrahmen->currentIndex() == 1 ? Datev::Chart::Skr04 : Datev::Chart::Skr03);
    fillAccounts(p);
    edtBank->setText(QString::number(p.bankAccount));
    setModified(true);
}

bool DatevSettingsTab::save()
{
    if (!m_allowed)
        return false;
    DatevExportStore store(m_state.db);
    Datev::Settings s = store.loadSettings();
    QStringList wrong;
    const auto number = [&](QLineEdit *e, const QString &caption, qint64 fallback) {
        const auto n = accountOf(e->text());
        if (!n)
            wrong << QStringLiteral("„%1“ bei %2").arg(e->text().trimmed(), caption);
        return n && *n ? **n : fallback;
    };
    for (QLineEdit *e : {edtBerater, edtMandant})
        if (!accountOf(e->text()))
            wrong << QStringLiteral("„%1“ bei %2")
                         .arg(e->text().trimmed(), e == edtBerater ? QStringLiteral("Beraternummer")
                                                                   : QStringLiteral("Mandantennummer"));
    s.consultantNumber = edtBerater->text().trimmed();
    s.clientNumber = edtMandant->text().trimmed();
    const QDate start = QDate::fromString(edtWJBeginn->text() + QStringLiteral("2000"), QStringLiteral("dd.MM.yyyy"));
    if (!start.isValid())
        wrong << QStringLiteral("„%1“ beim Beginn des Wirtschaftsjahres").arg(edtWJBeginn->text());
    s.fiscalYearStart = start;
    s.accountLength = spnKontenlaenge->value();
    s.chart = cbKontenrahmen->currentIndex() == 1 ? Datev::Chart::Skr04 : Datev::Chart::Skr03;
    s.bankAccount = number(edtBank, QStringLiteral("Bankkonto"), 0);
    s.debtorBase = number(edtDebitorBasis, QStringLiteral("Debitorenkonto"), 0);
    s.debtorMin = number(edtDebitorVon, QStringLiteral("Debitorenkonten von"), 0);
    s.debtorMax = number(edtDebitorBis, QStringLiteral("Debitorenkonten bis"), 0);
    s.revenueAccounts.clear();
    s.skontoAccounts.clear();
    for (int r = 0; r < m_rows.size(); ++r) {
        const RateRow &row = m_rows.at(r);
        for (const int c : {int(RevenueColumn), int(SkontoColumn)}) {
            const QString text = tblKonten->item(r, c) ? tblKonten->item(r, c)->text() : QString();
            const auto account = accountOf(text);
            if (!account) {
                wrong << QStringLiteral("„%1“ als %2 für %3 %")
                             .arg(text.trimmed(), c == RevenueColumn ? QStringLiteral("Erlöskonto") : QStringLiteral("Skontokonto"),
                                  row.rate.toText());
                continue;
            }
            if (*account)
                (c == RevenueColumn ? s.revenueAccounts : s.skontoAccounts)[Datev::TaxKey(row.rate, row.category)] = **account;
        }
    }
    if (!wrong.isEmpty()) {
        m_state.dialogs.error(QStringLiteral("Bitte tragen Sie nur Ziffern ein:\n") + wrong.join(QLatin1Char('\n')));
        return false;
    }
    store.saveSettings(s);
    setModified(false);
    return true;
}

void DatevSettingsTab::applyPermissions(bool companyData)
{
    m_allowed = companyData;
    grpDatev->setEnabled(companyData);
}
