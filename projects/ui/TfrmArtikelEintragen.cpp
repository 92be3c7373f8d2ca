#include "TfrmArtikelEintragen.h"
#include "WindowPlacement.h"

#include "AppState.h"
#include "ArticleEntryRules.h"
#include "ArticleListModel.h"
#include "CommandGuard.h"
#include "DialogParts.h"
#include "Dialogs.h"
#include "EntryFields.h"
#include "NumberEdit.h"
#include "Formats.h"
#include "Settings.h"
#include "TextLinesGrid.h"
#include "TfrmArtikelKlein.h"
#include "Totals.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>
#include <memory>

namespace {

const QString NoGroup = QStringLiteral("keine Artikelgruppe");

} // namespace

TfrmArtikelEintragen::TfrmArtikelEintragen(AppState &state, QWidget *parent)
    : QDialog(parent, DialogParts::Flags), m_state(state), m_store(state.db),
      m_currency(ReadCurrency(state.ExeDir)), m_runCatalogue([](TfrmArtikelKlein &w) { w.exec(); })
{
    setObjectName(QStringLiteral("TfrmArtikelEintragen"));
    setWindowTitle(QStringLiteral("Artikeldaten"));
    // The layout's fonts need more room than 742 × 516; the window starts a
    // little larger so every field shows its whole content.
    resize(860, 640);

    buildForm(this, state.dialogs);

    m_catalogue = new TfrmArtikelKlein(state, this);

    // --- Commands --------------------------------------------------------------
    Dialogs &d = m_state.dialogs;
    for (QLineEdit *e : {m_name, m_number, static_cast<QLineEdit *>(m_price)})
        connect(e, &QLineEdit::textEdited, this, [this] { entryTyped(true); });
    connect(m_quantity, &QLineEdit::textEdited, this, [this] { entryTyped(false); });
    connect(m_vat, &QComboBox::currentTextChanged, this, [this] { entryTyped(true); });
    connect(m_lineList, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        m_takeLine->setEnabled(item && !item->text().isEmpty());
    });
    connect(m_lineList, &QListWidget::itemDoubleClicked, this, Guarded(d, [this] { takeFromLineList(); }));
    connect(m_enter, &QPushButton::clicked, this, Guarded(d, [this] { enterLine(); }));
    connect(m_delete, &QPushButton::clicked, this, Guarded(d, [this] { deleteLine(); }));
    connect(m_enterBoth, &QPushButton::clicked, this, Guarded(d, [this] { enterIntoDocumentAndCatalogue(); }));
    connect(m_enterCatalogue, &QPushButton::clicked, this, Guarded(d, [this] { enterIntoCatalogue(); }));
    connect(m_takeLine, &QPushButton::clicked, this, Guarded(d, [this] { takeFromLineList(); }));
    connect(m_ok, &QPushButton::clicked, this, Guarded(d, [this] { ok(); }));
    connect(m_closeBar->findChild<QAction *>(QStringLiteral("actClose")), &QAction::triggered, this, [this] { clearEntry(); });

    connect(m_search, &QLineEdit::textEdited, this, Guarded(d, [this] { search(); }));
    connect(m_groupFilter, &QComboBox::activated, this, Guarded(d, [this] { search(); }));
    connect(m_results, &QAbstractItemView::clicked, this, [this](const QModelIndex &i) { resultClicked(i.row()); });
    // Moving through the list with the keyboard chooses a row as a click does.
    connect(m_results->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { resultClicked(current.isValid() ? current.row() : -1); });
    connect(m_results, &QAbstractItemView::doubleClicked, this, [this, &d](const QModelIndex &i) {
        resultClicked(i.row());
        if (m_copy->isEnabled())
            RunCommand(d, [this] { copyArticle(); });
    });
    connect(m_copy, &QPushButton::clicked, this, Guarded(d, [this] { copyArticle(); }));
    connect(m_deleteArticle, &QPushButton::clicked, this, Guarded(d, [this] { deleteArticle(); }));
    connect(m_changeArticle, &QPushButton::clicked, this, Guarded(d, [this] { changeArticle(); }));

    for (QPushButton *b : {m_enter, m_delete, m_enterBoth, m_enterCatalogue, m_takeLine, m_copy, m_deleteArticle,
                           m_changeArticle})
        b->setEnabled(false);
    fillGroupFilter();
    search();
}

TfrmArtikelEintragen::~TfrmArtikelEintragen() = default;

void TfrmArtikelEintragen::setCatalogueRunner(std::function<void(TfrmArtikelKlein &)> runner)
{
    m_runCatalogue = std::move(runner);
}

// --- Opening and closing -----------------------------------------------------

void TfrmArtikelEintragen::prepare(const Document &document, const QString &projectVat)
{
    m_doc = document;
    m_changed = false;
    clearEntry();

    RestoreWindowPosition(this, QStringLiteral("Artikel"));

    {
        const QSignalBlocker block(m_vat);
        m_vat->clear();
        m_vat->addItems(m_store.vatChoices());
        m_vat->setCurrentText(projectVat);
    }
    m_mode = Mode::Entry;
    m_position.clear();
    m_typed = false;
    // The group filter starts at "keine Artikelgruppe"; the list is searched
    // again so that it shows what the filter says, with the catalogue as it is now.
    fillGroupFilter();
    search();
    fillLineList();
    showTotals();
    for (QPushButton *b : {m_enter, m_delete, m_enterBoth, m_enterCatalogue, m_takeLine})
        b->setEnabled(false);
    m_ok->setEnabled(true);
    m_name->setFocus();
}

void TfrmArtikelEintragen::done(int result)
{
    RunCommand(m_state.dialogs, [this] {
        SaveWindowPosition(this, QStringLiteral("Artikel"));
        recompute();
    });
    QDialog::done(result);
}

void TfrmArtikelEintragen::recompute()
{
    m_doc.lines.normalise();
    m_doc.lines.discountLast(m_doc.skontoPercent);
    Totals::compute(m_doc.lines, m_doc.totals, Totals::readRates(m_state.db), m_currency, m_doc.grossRule);
}

// --- Displays --------------------------------------------------------------------

void TfrmArtikelEintragen::fillGroupFilter()
{
    m_groupFilter->clear();
    m_groupFilter->addItem(NoGroup);
    m_groupFilter->addItems(m_store.groups());
    m_groupFilter->setCurrentIndex(0);
}

void TfrmArtikelEintragen::fillLineList()
{
    m_lineList->clear();
    for (const LineEntry &e : m_doc.lines.articleEntries()) {
        auto *item = new QListWidgetItem(e.name, m_lineList);
        item->setData(Qt::UserRole, e.position);
    }
    m_takeLine->setEnabled(false);
}

void TfrmArtikelEintragen::showTotals()
{
    m_net->setText(m_doc.totals.net());
    m_gross->setText(m_doc.totals.gross());
}

void TfrmArtikelEintragen::clearEntry()
{
    for (QLineEdit *e : {m_name, m_number, static_cast<QLineEdit *>(m_quantity), static_cast<QLineEdit *>(m_price)})
        e->clear();
    m_texts->clearLines();
}

ArticleLine TfrmArtikelEintragen::entryLine() const
{
    ArticleLine line{m_number->text(), m_name->text(), m_quantity->text(), m_price->text(), m_vat->currentText(), {}};
    line.texts = m_texts->texts();
    return line;
}

// --- Enabling --------------------------------------------------------------------

void TfrmArtikelEintragen::entryTyped(bool setsTypedFlag)
{
    if (setsTypedFlag)
        m_typed = true;
    updateEntryButtons();
}

void TfrmArtikelEintragen::updateEntryButtons()
{
    const bool name = !m_name->text().isEmpty();
    const bool price = !m_price->text().isEmpty();
    if (name && price && !m_quantity->text().isEmpty()) {
        m_enter->setEnabled(true);
    } else {
        for (QPushButton *b : {m_enter, m_enterBoth, m_enterCatalogue, m_delete})
            b->setEnabled(false);
    }
    if (!name || !price) {
        m_enterCatalogue->setEnabled(false);
        m_enterBoth->setEnabled(false);
    } else if (m_typed) {
        m_enterCatalogue->setEnabled(true);
        m_enterBoth->setEnabled(m_enter->isEnabled());
    }
}

void TfrmArtikelEintragen::resultClicked(int row)
{
    const bool article = row >= 0 && row < m_model->rowCount() && !m_model->row(row).isBlank();
    for (QPushButton *b : {m_copy, m_deleteArticle, m_changeArticle})
        b->setEnabled(article);
}

// --- The entry group -------------------------------------------------------------

bool TfrmArtikelEintragen::enterLine()
{
    ArticleLine line = entryLine();
    line.quantity = m_quantity->text();
    line.price = m_price->text();
    m_changed = true;
    bool entered = false;
    if (line.quantity.isEmpty() || line.price.isEmpty()) {
        m_state.dialogs.error(QStringLiteral("Keine Daten!"));
    } else {
        const QString refusal = ArticleEntryRules::checkLine(line);
        if (!refusal.isEmpty()) {
            // The fields stay as typed, so the user can correct them.
            m_state.dialogs.warning(refusal);
            return false;
        }
        if (m_mode == Mode::Entry) {
            m_doc.lines.appendArticle(line);
            clearEntry();
            m_state.dialogs.information(QStringLiteral("Artikel eingetragen"));
        } else {
            m_doc.lines.replaceArticle(m_position, line);
            clearEntry();
            m_state.dialogs.information(QStringLiteral("Artikel geändert"));
        }
        entered = true;
    }
    fillLineList();
    for (QPushButton *b : {m_enter, m_enterBoth, m_enterCatalogue, m_delete})
        b->setEnabled(false);
    m_typed = false;
    m_mode = Mode::Entry;
    m_position.clear();
    recompute();
    showTotals();
    return entered;
}

void TfrmArtikelEintragen::takeFromLineList()
{
    const QListWidgetItem *item = m_lineList->currentItem();
    if (!item)
        return;
    m_changed = true;
    clearEntry();
    m_net->clear();
    m_gross->clear();
    m_position = item->data(Qt::UserRole).toString();

    const int row = m_doc.lines.rowOfPosition(m_position);
    if (row >= 0) {
        const ArticleLine line = m_doc.lines.articleAt(row);
        m_number->setText(line.artikelNr);
        m_name->setText(line.name);
        m_quantity->setText(line.quantity);
        m_price->setText(line.price);
        {
            const QSignalBlocker block(m_vat);
            m_vat->setCurrentText(line.vat);
        }
        if (!ArticleEntryRules::quantity(line.quantity)) {
            m_state.dialogs.warning(QLatin1Char('\'') + line.quantity + QStringLiteral("' ist kein gültiger Integerwert!"));
            m_quantity->clear();
        }
        if (!Amount::parseInput(line.price)) {
            m_state.dialogs.warning(QLatin1Char('\'') + line.price + QStringLiteral("' ist kein gültiger Gleitkommawert!"));
            m_price->clear();
        }
        m_texts->setTexts(line.texts);
    }
    m_typed = false;
    m_mode = Mode::Change;
    m_enter->setEnabled(true);
    m_delete->setEnabled(true);
    m_ok->setEnabled(true);
}

void TfrmArtikelEintragen::deleteLine()
{
    m_changed = true;
    if (m_state.dialogs.question(QStringLiteral("Daten wirklich löschen?"), Dialogs::Buttons::YesNo,
                                 QStringLiteral("Warnung"))
        == Dialogs::Answer::Yes) {
        m_doc.lines.removeArticle(m_position);
        clearEntry();
        // Back to entering: a later "Übernehmen" must not replace whatever
        // line now holds the deleted line's position.
        m_mode = Mode::Entry;
        m_position.clear();
        for (QPushButton *b : {m_enter, m_enterBoth, m_enterCatalogue, m_delete})
            b->setEnabled(false);
    }
    recompute();
    fillLineList();
    showTotals();
}

void TfrmArtikelEintragen::runCatalogue()
{
    m_runCatalogue(*m_catalogue);
    // Closing "Artikelverwaltung" refills the group filter; the list follows it.
    fillGroupFilter();
    search();
}

void TfrmArtikelEintragen::enterIntoCatalogue()
{
    m_catalogue->prepareNew(m_name->text(), m_number->text(), m_price->text(), m_vat->currentText(), m_texts->texts());
    runCatalogue();
}

void TfrmArtikelEintragen::enterIntoDocumentAndCatalogue()
{
    m_changed = true;
    enterIntoCatalogue();
    enterLine();
}

void TfrmArtikelEintragen::ok()
{
    if (!m_name->text().isEmpty() && !m_quantity->text().isEmpty() && !m_price->text().isEmpty() && !enterLine())
        return;
    const bool nameAndPriceEmpty = m_name->text().isEmpty() && m_price->text().isEmpty();
    if (nameAndPriceEmpty || !m_quantity->text().isEmpty()
        || m_state.dialogs.question(QStringLiteral("Artikel eintragen wirklich beenden?"), Dialogs::Buttons::YesCancel)
               == Dialogs::Answer::Yes) {
        clearEntry();
        accept();
        return;
    }
    m_quantity->setFocus();
}

// --- The result list -----------------------------------------------------------

void TfrmArtikelEintragen::search()
{
    const auto column = m_searchTabs->currentIndex() == 0 ? ArticleStore::SearchColumn::Bezeichnung
                                                          : ArticleStore::SearchColumn::ArtikelNr;
    const QString group = m_groupFilter->currentIndex() > 0 ? m_groupFilter->currentText() : QString();
    m_model->setSearch(m_state.dialogs, [this, column, text = m_search->text(), group](qint64 after, int limit) {
        return m_store.search(column, text, group, after, limit);
    });
    resultClicked(-1);
}

int TfrmArtikelEintragen::selectedResult() const
{
    const QModelIndex current = m_results->currentIndex();
    if (!current.isValid() || m_model->row(current.row()).isBlank())
        return -1;
    return current.row();
}

void TfrmArtikelEintragen::copyArticle()
{
    const int r = selectedResult();
    if (r < 0)
        return;
    const bool filled = !m_name->text().isEmpty() || !m_number->text().isEmpty() || !m_quantity->text().isEmpty()
                        || !m_price->text().isEmpty() || m_texts->hasText();
    if (filled
        && m_state.dialogs.question(QStringLiteral("Zieldatenfelder nicht leer! Wollen Sie diese überschreiben?"),
                                    Dialogs::Buttons::YesCancel, QStringLiteral("Warnung"))
               != Dialogs::Answer::Yes)
        return;
    const ArticleRow row = m_model->row(r);
    m_name->setText(row.name);
    m_number->setText(row.number);
    m_price->setText(row.price);
    {
        const QSignalBlocker block(m_vat);
        m_vat->setCurrentText(row.vat);
    }
    m_texts->setLines(m_store.texts(StrToInt(row.id)));
    m_enterBoth->setEnabled(false);
    m_enterCatalogue->setEnabled(false);
    m_typed = false;
    updateEntryButtons();
    m_quantity->setFocus();
}

void TfrmArtikelEintragen::changeArticle()
{
    const int r = selectedResult();
    if (r < 0)
        return;
    m_catalogue->prepareChange(m_model->row(r), m_vat->currentText());
    runCatalogue();
}

void TfrmArtikelEintragen::deleteArticle()
{
    const int r = selectedResult();
    if (r < 0)
        return;
    if (m_state.dialogs.question(QStringLiteral("Wollen Sie den Artikel wirklich löschen?"), Dialogs::Buttons::YesNo,
                                 QStringLiteral("Warnung"))
        != Dialogs::Answer::Yes)
        return;
    m_store.remove(StrToInt(m_model->row(r).id));
    fillGroupFilter();
    search();
}

// --- The one place that shows the window -------------------------------------

bool EditArticles(AppState &state, Document &document, const QString &projectVat, QWidget *parent)
{
    std::unique_ptr<TfrmArtikelEintragen> owned;
    TfrmArtikelEintragen *window =
        parent ? parent->findChild<TfrmArtikelEintragen *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!window) {
        window = new TfrmArtikelEintragen(state, parent);
        if (!parent)
            owned.reset(window);
    }
    window->prepare(document, projectVat);
    window->exec();
    document = window->document();
    return window->changed();
}
