#include "ArticleEntryForm.h"

#include "ArticleEntryRules.h"
#include "ArticleListModel.h"
#include "DialogParts.h"
#include "EntryFields.h"
#include "NumberEdit.h"
#include "TextLinesGrid.h"

#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

QLineEdit *totalField(const QString &objectName, QWidget *parent)
{
    auto *f = new QLineEdit(parent);
    f->setObjectName(objectName);
    f->setReadOnly(true);
    f->setFocusPolicy(Qt::NoFocus);
    f->setAlignment(Qt::AlignRight);
    QPalette p = f->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Window));
    f->setPalette(p);
    return f;
}

} // namespace

void ArticleEntryForm::buildForm(QDialog *window, Dialogs &dialogs)
{
    // --- Group "Artikel" -----------------------------------------------------
    auto *entry = new QGroupBox(QStringLiteral("Artikel"), window);
    entry->setObjectName(QStringLiteral("grpArtikel"));
    m_name = new QLineEdit(entry);
    m_name->setObjectName(QStringLiteral("edtBezeichnung"));
    m_number = new QLineEdit(entry);
    m_number->setObjectName(QStringLiteral("edtArtikelNr"));
    m_quantity = new NumberEdit(ArticleEntryRules::QuantityField, &dialogs, entry);
    m_quantity->setObjectName(QStringLiteral("edtAnzahl"));
    m_quantity->setAlignment(Qt::AlignRight);
    m_price = new NumberEdit(ArticleEntryRules::PriceField, &dialogs, entry);
    m_price->setObjectName(QStringLiteral("edtEinzelpreis"));
    m_price->setAlignment(Qt::AlignRight);
    m_vat = new QComboBox(entry);
    m_vat->setObjectName(QStringLiteral("cboMwSt"));
    m_vat->setEditable(true);
    m_vat->setInsertPolicy(QComboBox::NoInsert);
    m_texts = new TextLinesGrid(11, entry);
    m_texts->setObjectName(QStringLiteral("grdZusatztext"));
    m_lineList = new QListWidget(entry);
    m_lineList->setObjectName(QStringLiteral("lstVorgangsliste"));
    m_net = totalField(QStringLiteral("edtNettobetrag"), entry);
    m_gross = totalField(QStringLiteral("edtRechnungsbetrag"), entry);
    EnterToNextField::install({m_name, m_number, m_vat});

    m_enter = DialogParts::button(QStringLiteral("&Übernehmen"), QStringLiteral("btnUebernehmen"), entry);
    m_delete = DialogParts::button(QStringLiteral("&Löschen"), QStringLiteral("btnLoeschen"), entry);
    m_enterBoth = DialogParts::button(QStringLiteral("in &Vorgang und Datenbank übernehmen"),
                                      QStringLiteral("btnVorgangUndDatenbank"), entry);
    m_enterCatalogue = DialogParts::button(QStringLiteral("Artikel in &Datenbank übernehmen"),
                                           QStringLiteral("btnInDatenbank"), entry);
    m_takeLine = DialogParts::button(QStringLiteral("aus &Vorgangsliste übernehmen"),
                                     QStringLiteral("btnAusVorgangsliste"), entry);
    m_ok = DialogParts::button(QStringLiteral("&OK"), QStringLiteral("btnOk"), entry);

    auto *fields = new QGridLayout;
    int row = 0;
    auto label = [entry](const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, entry);
        l->setBuddy(buddy);
        return l;
    };
    fields->addWidget(label(QStringLiteral("Bezeichnung:"), m_name), row, 0);
    fields->addWidget(m_name, row++, 1, 1, 3);
    fields->addWidget(label(QStringLiteral("Artikel Nr.:"), m_number), row, 0);
    fields->addWidget(m_number, row++, 1, 1, 3);
    fields->addWidget(label(QStringLiteral("Anzahl:"), m_quantity), row, 0);
    fields->addWidget(m_quantity, row, 1);
    fields->addWidget(label(QStringLiteral("Einzelpreis:"), m_price), row, 2, Qt::AlignRight);
    fields->addWidget(m_price, row++, 3);
    fields->addWidget(label(QStringLiteral("MwSt.:"), m_vat), row, 0);
    fields->addWidget(m_vat, row++, 1);
    fields->addWidget(label(QStringLiteral("Zusatztext:"), m_texts), row, 0, Qt::AlignTop);
    fields->addWidget(m_texts, row++, 1, 1, 3);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);
    fields->setRowStretch(row - 1, 1);

    // Amounts up to 1.234.567,89 € fit the number and total fields.
    const int amountWidth = window->fontMetrics().horizontalAdvance(QStringLiteral("1.234.567,89 €")) + 16;
    m_quantity->setMinimumWidth(window->fontMetrics().horizontalAdvance(QStringLiteral("00000,000")) + 16);
    m_price->setMinimumWidth(amountWidth);
    m_net->setMinimumWidth(amountWidth);
    m_gross->setMinimumWidth(amountWidth);

    // The line list with the command that takes a line over and the totals.
    auto *listColumn = new QVBoxLayout;
    listColumn->addWidget(new QLabel(QStringLiteral("Vorgangsliste:"), entry));
    listColumn->addWidget(m_lineList, 1);
    listColumn->addWidget(m_takeLine);
    auto *totals = new QGridLayout;
    totals->addWidget(new QLabel(QStringLiteral("Nettobetrag:"), entry), 0, 0);
    totals->addWidget(m_net, 0, 1);
    totals->addWidget(new QLabel(QStringLiteral("Rechnungsbetrag:"), entry), 1, 0);
    totals->addWidget(m_gross, 1, 1);
    totals->setColumnStretch(1, 1);
    listColumn->addLayout(totals);

    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {m_enter, m_delete, m_enterBoth, m_enterCatalogue})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);

    auto *entryLayout = new QHBoxLayout(entry);
    entryLayout->addLayout(fields, 5);
    entryLayout->addSpacing(6);
    entryLayout->addLayout(listColumn, 3);
    entryLayout->addSpacing(6);
    entryLayout->addLayout(buttons);

    // --- Group "Artikelliste" ------------------------------------------------
    auto *catalogue = new QGroupBox(QStringLiteral("Artikelliste"), window);
    catalogue->setObjectName(QStringLiteral("grpArtikelliste"));
    m_searchTabs = new QTabBar(catalogue);
    m_searchTabs->setObjectName(QStringLiteral("tabSuche"));
    m_searchTabs->addTab(QStringLiteral("Bezeichnung"));
    m_searchTabs->addTab(QStringLiteral("Artikel Nr."));
    m_searchTabs->setDrawBase(false);
    m_search = new QLineEdit(catalogue);
    m_search->setObjectName(QStringLiteral("edtSuche"));
    m_groupFilter = new QComboBox(catalogue);
    m_groupFilter->setObjectName(QStringLiteral("cboArtikelgruppe"));
    m_groupFilter->setMinimumContentsLength(18);
    m_model = new ArticleListModel(window);
    m_results = new QTableView(catalogue);
    m_results->setObjectName(QStringLiteral("grdArtikelliste"));
    m_results->setModel(m_model);
    m_results->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_results->setSelectionMode(QAbstractItemView::SingleSelection);
    m_results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_results->setWordWrap(false);
    m_results->verticalHeader()->hide();
    m_results->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_results->verticalHeader()->setDefaultSectionSize(window->fontMetrics().height() + 4);
    m_results->horizontalHeader()->setHighlightSections(false);
    m_results->setColumnWidth(ArticleListModel::Bezeichnung, 440);
    m_results->setColumnWidth(ArticleListModel::ArtNr, 70);
    m_results->setColumnWidth(ArticleListModel::Gruppe, 100);
    m_results->setColumnWidth(ArticleListModel::Preis, window->fontMetrics().horizontalAdvance(QStringLiteral("12.345,00 ")) + 12);
    m_results->setColumnWidth(ArticleListModel::MwSt, window->fontMetrics().horizontalAdvance(QStringLiteral("19,00 %")) + 16);
    m_results->setColumnHidden(ArticleListModel::Id, true);
    m_results->setColumnHidden(ArticleListModel::Ida, true);
    m_results->horizontalHeader()->setSectionResizeMode(ArticleListModel::Bezeichnung, QHeaderView::Stretch);
    m_copy = DialogParts::button(QStringLiteral("&Übernehmen"), QStringLiteral("btnListeUebernehmen"), catalogue);
    m_deleteArticle = DialogParts::button(QStringLiteral("Artikel &löschen"), QStringLiteral("btnArtikelLoeschen"),
                                          catalogue);
    m_changeArticle = DialogParts::button(QStringLiteral("Artikel ä&ndern"), QStringLiteral("btnArtikelAendern"),
                                          catalogue);

    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(m_searchTabs);
    searchRow->addSpacing(8);
    searchRow->addWidget(label(QStringLiteral("Suche:"), m_search));
    searchRow->addWidget(m_search, 1);
    searchRow->addSpacing(8);
    searchRow->addWidget(label(QStringLiteral("Artikelgruppe"), m_groupFilter));
    searchRow->addWidget(m_groupFilter);
    auto *listButtons = new QVBoxLayout;
    for (QPushButton *b : {m_copy, m_deleteArticle, m_changeArticle})
        listButtons->addWidget(b);
    listButtons->addStretch(1);
    auto *listRow = new QHBoxLayout;
    listRow->addWidget(m_results, 1);
    listRow->addLayout(listButtons);
    auto *catalogueLayout = new QVBoxLayout(catalogue);
    catalogueLayout->addLayout(searchRow);
    catalogueLayout->addLayout(listRow, 1);

    m_closeBar = DialogParts::closeBar(window);
    auto *layout = new QVBoxLayout(window);
    layout->setMenuBar(m_closeBar);
    layout->addWidget(entry, 1);
    layout->addWidget(catalogue, 1);
}
