#include "GeneralTab.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "Desktop.h"
#include "Dialogs.h"
#include "NumberEdit.h"
#include "OptionsRules.h"
#include "ProjectStore.h"
#include "Settings.h"
#include "VatRateStore.h"

#include <QComboBox>
#include <QLineEdit>

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QUrl>
#include <QVBoxLayout>

using namespace OptionsRules;

GeneralTab::GeneralTab(AppState &state, QWidget *parent)
    : OptionsPage(parent), m_state(state), m_rates(std::make_unique<VatRateStore>(state.db))
{
    setObjectName(QStringLiteral("tabAllgemein"));
    buildUi();
}

GeneralTab::~GeneralTab() = default;

QString GeneralTab::sentryProgram(const QString &exeDir)
{
    return QDir(exeDir).filePath(QStringLiteral("Sentry"));
}

void GeneralTab::buildUi()
{
    Dialogs &dialogs = m_state.dialogs;
    const auto button = [this](const char *name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        return b;
    };

    grpUSt = new QGroupBox(QStringLiteral("USt. Sätze"), this);
    grpUSt->setObjectName(QStringLiteral("grpUSt"));
    lstUSt = new QListWidget(grpUSt);
    lstUSt->setObjectName(QStringLiteral("lstUSt"));
    edtUSt = new NumberEdit(VatInput, &dialogs, grpUSt);
    edtUSt->setObjectName(QStringLiteral("edtUSt"));
    edtUSt->setMaximumWidth(90);
    btnHinzufuegen = button("btnHinzufuegen", QStringLiteral("&Hinzufügen"));
    btnAendern = button("btnAendern", QStringLiteral("&Ändern"));
    btnLoeschen = button("btnLoeschen", QStringLiteral("&Löschen"));
    cbUStKategorie = new QComboBox(grpUSt);
    cbUStKategorie->setObjectName(QStringLiteral("cbUStKategorie"));
    for (const auto &[code, caption] : VatRateStore::categoryChoices())
        cbUStKategorie->addItem(caption, code);
    edtUStGrund = new QLineEdit(grpUSt);
    edtUStGrund->setObjectName(QStringLiteral("edtUStGrund"));
    edtUStGrund->setPlaceholderText(QStringLiteral("Befreiungsgrund"));
    btnUStKategorie = button("btnUStKategorie", QStringLiteral("&Kategorie speichern"));
    auto *ustOuter = new QVBoxLayout(grpUSt);
    auto *ustLayout = new QHBoxLayout;
    ustOuter->addLayout(ustLayout, 1);
    auto *categoryRow = new QGridLayout;
    auto *categoryLabel = new QLabel(QStringLiteral("E-Rechnung"), grpUSt);
    categoryLabel->setBuddy(cbUStKategorie);
    categoryRow->addWidget(categoryLabel, 0, 0);
    categoryRow->addWidget(cbUStKategorie, 0, 1);
    categoryRow->addWidget(btnUStKategorie, 0, 2);
    categoryRow->addWidget(edtUStGrund, 1, 1, 1, 2);
    categoryRow->setColumnStretch(1, 1);
    ustOuter->addLayout(categoryRow);
    ustLayout->addWidget(lstUSt, 1);
    auto *commands = new QVBoxLayout;
    auto *input = new QHBoxLayout;
    input->addWidget(edtUSt);
    input->addWidget(new QLabel(QStringLiteral("%"), grpUSt));
    commands->addLayout(input);
    commands->addWidget(btnHinzufuegen);
    commands->addWidget(btnAendern);
    commands->addWidget(btnLoeschen);
    commands->addStretch(1);
    ustLayout->addLayout(commands);

    grpSentry = new QGroupBox(QStringLiteral("Orvella-Sentry"), this);
    grpSentry->setObjectName(QStringLiteral("grpSentry"));
    lblSentry = new QLabel(QStringLiteral("Soll der Überwachungsassistent für überfällige Rechnungen Orvella-Sentry "
                                          "bei jedem Start des Betriebssystems automatisch gestartet werden?"),
                           grpSentry);
    lblSentry->setObjectName(QStringLiteral("lblSentry"));
    lblSentry->setWordWrap(true);
    chkAutostart = new QCheckBox(QStringLiteral("automatisch starten"), grpSentry);
    chkAutostart->setObjectName(QStringLiteral("chkAutostart"));
    btnSentryHilfe = button("btnSentryHilfe", QStringLiteral("?"));
    btnSentryHilfe->setToolTip(QStringLiteral("Hilfe zu Orvella-Sentry"));
    btnSentryHilfe->setMaximumWidth(32);
    auto *sentryLayout = new QGridLayout(grpSentry);
    sentryLayout->addWidget(lblSentry, 0, 0, 1, 2);
    sentryLayout->addWidget(chkAutostart, 1, 0);
    sentryLayout->addWidget(btnSentryHilfe, 1, 1);

    grpStart = new QGroupBox(QStringLiteral("Vorgangsnummern Start"), this);
    grpStart->setObjectName(QStringLiteral("grpStart"));
    auto *startLayout = new QGridLayout(grpStart);
    const QList<StartNumberField> &fields = startNumberFields();
    for (int i = 0; i < fields.size(); ++i) {
        auto *edit = new NumberEdit(startNumberInput(fields[i].label), &dialogs, grpStart);
        edit->setObjectName(QStringLiteral("edtStart") + fields[i].key);
        edit->setMaximumWidth(90);
        auto *label = new QLabel(fields[i].label, grpStart);
        label->setBuddy(edit);
        startLayout->addWidget(label, i % 4, (i / 4) * 2);
        startLayout->addWidget(edit, i % 4, (i / 4) * 2 + 1);
        edtStart << edit;
        connect(edit, &QLineEdit::textEdited, this, [this, edit](const QString &text) {
            // A start number of 0 means none: the field is emptied at once.
            if (isZeroNumber(text))
                edit->clear();
            setModified(true);
        });
    }
    btnStartSpeichern = button("btnStartSpeichern", QStringLiteral("&Speichern"));
    startLayout->addWidget(btnStartSpeichern, 4, 3);

    grpWaehrung = new QGroupBox(QStringLiteral("Währung"), this);
    grpWaehrung->setObjectName(QStringLiteral("grpWaehrung"));
    edtWaehrung = new QLineEdit(grpWaehrung);
    edtWaehrung->setObjectName(QStringLiteral("edtWaehrung"));
    edtWaehrung->setMaximumWidth(60);
    btnWaehrung = button("btnWaehrung", QStringLiteral("Speichern"));
    auto *currencyLayout = new QHBoxLayout(grpWaehrung);
    auto *currencyLabel = new QLabel(QStringLiteral("Währunssymbol"), grpWaehrung);
    currencyLabel->setBuddy(edtWaehrung);
    currencyLayout->addWidget(currencyLabel);
    currencyLayout->addWidget(edtWaehrung);
    currencyLayout->addWidget(btnWaehrung);
    currencyLayout->addStretch(1);

    auto *columns = new QHBoxLayout(this);
    auto *left = new QVBoxLayout;
    left->addWidget(grpUSt, 1);
    left->addWidget(grpSentry);
    auto *right = new QVBoxLayout;
    right->addWidget(grpStart);
    right->addWidget(grpWaehrung);
    right->addStretch(1);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);

    connect(lstUSt, &QListWidget::itemClicked, this,
            Guarded(dialogs, [this] { rateClicked(lstUSt->currentRow()); }));
    connect(edtUSt, &QLineEdit::textEdited, this, [this] { rateTyped(); });
    connect(btnHinzufuegen, &QPushButton::clicked, this, Guarded(dialogs, [this] { cmdAddRate(); }));
    connect(btnAendern, &QPushButton::clicked, this, Guarded(dialogs, [this] { cmdChangeRate(); }));
    connect(btnLoeschen, &QPushButton::clicked, this, Guarded(dialogs, [this] { cmdDeleteRate(); }));
    connect(btnUStKategorie, &QPushButton::clicked, this, Guarded(dialogs, [this] { cmdSaveCategory(); }));
    connect(btnStartSpeichern, &QPushButton::clicked, this, Guarded(dialogs, [this] { save(); }));
    connect(edtWaehrung, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_currencyEdited = true;
        btnWaehrung->setEnabled(!text.trimmed().isEmpty());
        setModified(true);
    });
    connect(btnWaehrung, &QPushButton::clicked, this, Guarded(dialogs, [this] { cmdSaveCurrency(); }));
    connect(chkAutostart, &QCheckBox::clicked, this, [this](bool on) {
        if (!RunCommand(m_state.dialogs, [this, on] { cmdAutostart(on); })) {
            const QSignalBlocker block(chkAutostart);
            chkAutostart->setChecked(!on);
        }
    });
    connect(btnSentryHilfe, &QPushButton::clicked, this, [this] { cmdSentryHelp(); });
}

void GeneralTab::load()
{
    {
        // Read before the printer tab writes a missing print origin: without one
        // the box shows unticked.
        const UserSettings settings;
        const bool originStored = settings.readInt(QStringLiteral("SHLeft")) && settings.readInt(QStringLiteral("SHTop"));
        const QSignalBlocker block(chkAutostart);
        chkAutostart->setChecked(originStored && !ReadAutostartEntry().isEmpty());
    }
    edtUSt->clear();
    loadRates();
    loadStartNumbers();
    edtWaehrung->setText(ReadCurrency(m_state.ExeDir));
    btnWaehrung->setEnabled(false);
    m_currencyEdited = false;
    setModified(false);
}

void GeneralTab::applyPermissions(bool general)
{
    grpUSt->setEnabled(general);
    grpSentry->setEnabled(general);
}

void GeneralTab::loadRates()
{
    m_listed = m_rates->rates();
    lstUSt->clear();
    for (const Amount &rate : m_listed)
        lstUSt->addItem(ProjectStore::vatEntryText(rate));
    m_selected.reset();
    btnHinzufuegen->setEnabled(false);
    btnAendern->setEnabled(false);
    btnLoeschen->setEnabled(false);
    showCategory();
}

void GeneralTab::showCategory()
{
    const bool selected = m_selected.has_value();
    VatRateStore::Category c;
    if (selected) {
        c = m_rates->category(*m_selected);
        if (c.code.isEmpty() && *m_selected > Amount())
            c.code = QStringLiteral("S");
    }
    cbUStKategorie->setCurrentIndex(cbUStKategorie->findData(c.code));
    edtUStGrund->setText(c.reason);
    for (QWidget *w : std::initializer_list<QWidget *>{cbUStKategorie, edtUStGrund, btnUStKategorie})
        w->setEnabled(selected);
}

void GeneralTab::cmdSaveCategory()
{
    if (!m_selected)
        return;
    const VatRateStore::Category c{cbUStKategorie->currentData().toString(), edtUStGrund->text()};
    if (const QString problem = VatRateStore::categoryProblem(*m_selected, c); !problem.isEmpty()) {
        m_state.dialogs.warning(problem);
        return;
    }
    m_rates->setCategory(*m_selected, c);
}

void GeneralTab::loadStartNumbers()
{
    const QList<StartNumberField> &fields = startNumberFields();
    for (int i = 0; i < fields.size(); ++i)
        edtStart[i]->setText(QString::number(ReadStartNumber(m_state.ExeDir, fields[i].key)));
}

void GeneralTab::rateClicked(int row)
{
    if (row < 0 || row >= m_listed.size())
        return;
    m_selected = m_listed[row];
    edtUSt->setText(rateFieldText(*m_selected));
    btnHinzufuegen->setEnabled(true);
    btnAendern->setEnabled(true);
    btnLoeschen->setEnabled(true);
    showCategory();
}

void GeneralTab::rateTyped()
{
    btnHinzufuegen->setEnabled(!edtUSt->text().trimmed().isEmpty());
    setModified(true);
}

bool GeneralTab::storeRate(std::optional<Amount> selected, Amount rate)
{
    if (m_rates->contains(rate)) {
        m_state.dialogs.warning(duplicateRateMessage(rate));
        return false;
    }
    if (selected)
        m_rates->change(*selected, rate);
    else
        m_rates->add(rate);
    edtUSt->clear();
    loadRates();
    return true;
}

void GeneralTab::cmdAddRate()
{
    const std::optional<Amount> rate = typedRate(edtUSt->text());
    if (rate && storeRate(std::nullopt, *rate))
        save();
}

void GeneralTab::cmdChangeRate()
{
    const std::optional<Amount> rate = typedRate(edtUSt->text());
    if (rate && m_selected && storeRate(m_selected, *rate))
        save();
}

void GeneralTab::cmdDeleteRate()
{
    if (!m_selected)
        return;
    const QString question = rateInUseQuestion(*m_selected, m_rates->usage(*m_selected));
    if (!question.isEmpty() && m_state.dialogs.question(question, Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes)
        return;
    m_rates->remove(*m_selected);
    edtUSt->clear();
    loadRates();
}

GeneralTab::RateAction GeneralTab::pendingRateAction(std::optional<Amount> typed) const
{
    if (!typed)
        return RateAction::None;
    // A rate clicked in the list and left as it is asks for nothing.
    if (m_selected)
        return *typed == *m_selected ? RateAction::None : RateAction::Change;
    return RateAction::Add;
}

void GeneralTab::writeStartNumbers(const QStringList &values)
{
    const QList<StartNumberField> &fields = startNumberFields();
    for (int i = 0; i < fields.size(); ++i)
        WriteStartNumber(m_state.ExeDir, fields[i].key, values[i]);
}

bool GeneralTab::save()
{
    // Every field is checked before anything is written, so a refused value
    // leaves all stored numbers as they were.
    QStringList values;
    const QList<StartNumberField> &fields = startNumberFields();
    for (int i = 0; i < fields.size(); ++i)
        values << startNumberToStore(fields[i].label, edtStart[i]->text());
    const std::optional<Amount> typed = typedRate(edtUSt->text());
    writeStartNumbers(values);
    switch (pendingRateAction(typed)) {
    case RateAction::Add: storeRate(std::nullopt, *typed); break;
    case RateAction::Change: storeRate(m_selected, *typed); break;
    case RateAction::None: break;
    }
    if (m_currencyEdited && !edtWaehrung->text().trimmed().isEmpty())
        cmdSaveCurrency();
    loadStartNumbers();
    setModified(false);
    return true;
}

void GeneralTab::cmdSaveCurrency()
{
    WriteCurrency(m_state.ExeDir, edtWaehrung->text().trimmed());
    m_currencyEdited = false;
    btnWaehrung->setEnabled(false);
    m_state.dialogs.information(
        QStringLiteral("Damit das neue Währungssymbol wirksam wird starten Sie Orvella bitte neu!"));
}

void GeneralTab::cmdAutostart(bool on)
{
    WriteAutostartEntry(on ? sentryProgram(m_state.ExeDir) : QString());
}

void GeneralTab::cmdSentryHelp()
{
    QUrl manual = QUrl::fromLocalFile(QDir(m_state.ExeDir).filePath(QStringLiteral("Handbuch/Handbuch.html")));
    manual.setFragment(QStringLiteral("2_1_1_1"));
    OpenWithDesktop(manual);
}
