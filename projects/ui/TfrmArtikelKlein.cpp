#include "TfrmArtikelKlein.h"

#include "AppState.h"
#include "ArticleEntryRules.h"
#include "CommandGuard.h"
#include "DialogParts.h"
#include "Dialogs.h"
#include "EntryFields.h"
#include "NumberEdit.h"
#include "Errors.h"
#include "Formats.h"
#include "Settings.h"
#include "TextLinesGrid.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmArtikelKlein::TfrmArtikelKlein(AppState &state, QWidget *parent)
    : QDialog(parent, DialogParts::Flags), m_state(state), m_store(state.db)
{
    setObjectName(QStringLiteral("TfrmArtikelKlein"));
    setWindowTitle(QStringLiteral("Artikelverwaltung"));
    // A little larger than 357 × 390, so that long names and the grid fit.
    resize(420, 430);

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("edtBezeichnung"));
    m_number = new QLineEdit(this);
    m_number->setObjectName(QStringLiteral("edtArtikelnummer"));
    m_price = new NumberEdit({NumberInput::Kind::Money, QStringLiteral("Einzelpreis Netto")}, &state.dialogs, this);
    m_price->setObjectName(QStringLiteral("edtEinzelpreisNetto"));
    m_price->setAlignment(Qt::AlignRight);
    m_vat = new QComboBox(this);
    m_vat->setObjectName(QStringLiteral("cboMwSt"));
    m_vat->setEditable(true);
    m_vat->setInsertPolicy(QComboBox::NoInsert);
    m_group = new QComboBox(this);
    m_group->setObjectName(QStringLiteral("cboArtikelgruppe"));
    m_group->setEditable(true);
    m_group->setInsertPolicy(QComboBox::NoInsert);
    m_stock = new NumberEdit({NumberInput::Kind::Count, QStringLiteral("Bestand")}, &state.dialogs, this);
    m_stock->setObjectName(QStringLiteral("edtBestand"));
    m_stock->setEnabled(false);
    m_minStock = new NumberEdit({NumberInput::Kind::Count, QStringLiteral("Mindestbestand")}, &state.dialogs, this);
    m_minStock->setObjectName(QStringLiteral("edtMindestbestand"));
    m_minStock->setEnabled(false);
    m_texts = new TextLinesGrid(4, this);
    m_texts->setObjectName(QStringLiteral("grdZusatztext"));
    EnterToNextField::install({m_name, m_number, m_vat, m_group});

    m_save = DialogParts::button(QStringLiteral("Artikel &eintragen"), QStringLiteral("btnSpeichern"), this);
    QPushButton *cancel = DialogParts::button(QStringLiteral("&Abbrechen"), QStringLiteral("btnAbbrechen"), this);

    auto *priceRow = new QHBoxLayout;
    priceRow->addWidget(m_price, 1);
    priceRow->addWidget(new QLabel(ReadCurrency(state.ExeDir), this));
    auto *stockRow = new QHBoxLayout;
    stockRow->addWidget(m_stock);
    stockRow->addWidget(new QLabel(QStringLiteral("Mindestbestand"), this));
    stockRow->addWidget(m_minStock);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Bezeichnung"), m_name);
    form->addRow(QStringLiteral("Artikelnummer"), m_number);
    form->addRow(QStringLiteral("Einzelpreis Netto"), priceRow);
    form->addRow(QStringLiteral("MwSt"), m_vat);
    form->addRow(QStringLiteral("Artikelgruppe"), m_group);
    form->addRow(QStringLiteral("Bestand"), stockRow);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("Zusatztext"), this));
    layout->addWidget(m_texts, 1);
    layout->addLayout(DialogParts::buttonRow({m_save, cancel}));

    connect(m_save, &QPushButton::clicked, this, Guarded(m_state.dialogs, [this] { save(); }));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmArtikelKlein::open(Mode mode, const QString &vat)
{
    m_mode = mode;
    m_writtenId = 0;
    m_save->setText(mode == Mode::New ? QStringLiteral("Artikel &eintragen") : QStringLiteral("Artikel ä&ndern"));
    m_group->clear();
    m_texts->clearLines();
    m_stock->clear();
    m_minStock->clear();
    m_vat->clear();
    m_vat->addItems(m_store.vatChoices());
    m_vat->setCurrentText(vat);
    m_group->addItems(m_store.groups());
    m_group->setCurrentText(m_lastGroup);
    if (parentWidget())
        move(parentWidget()->window()->pos() + QPoint(50, 50));
}

void TfrmArtikelKlein::prepareNew(const QString &name, const QString &number, const QString &price,
                                  const QString &vat, const QStringList &texts)
{
    m_id = 0;
    open(Mode::New, vat);
    m_name->setText(name);
    m_number->setText(number);
    m_price->setText(price);
    m_texts->setTexts(texts);
    m_name->setFocus();
}

void TfrmArtikelKlein::prepareChange(const ArticleRow &row, const QString &vat)
{
    m_id = StrToInt(row.id);
    open(Mode::Change, vat);
    m_texts->setLines(m_store.texts(m_id));
    m_name->setText(row.name);
    m_number->setText(row.number);
    m_group->setCurrentText(row.group);
    m_price->setText(row.price);
    m_vat->setCurrentText(row.vat);
    m_name->setFocus();
}

void TfrmArtikelKlein::save()
{
    Article article;
    const QString refusal = ArticleEntryRules::checkArticle(m_name->text(), m_number->text(), m_group->currentText(),
                                                            m_price->text(), m_vat->currentText(), article);
    if (!refusal.isEmpty()) {
        m_state.dialogs.warning(refusal);
        return;
    }
    if (m_mode == Mode::New)
        insertArticle(article);
    else {
        m_store.update(m_id, article, m_texts->lines());
        m_writtenId = m_id;
    }
    m_lastGroup = article.group;
    accept();
}

bool TfrmArtikelKlein::insertArticle(const Article &article)
{
    for (const QString &found : m_store.similarNames(article.name)) {
        const QString question = QStringLiteral("Hinweis: Es steht ein Artikel \"%1\" in der Artikeldatenbank. ")
                                     .arg(found)
                                 + QStringLiteral("\n\n")
                                 + QStringLiteral("Wollen sie den neuen Artikel \"%1\" in die Artikeldatenbank neu "
                                                  "aufnehmen ?")
                                       .arg(article.name);
        if (m_state.dialogs.question(question, Dialogs::Buttons::YesNo, QStringLiteral("Information"))
            != Dialogs::Answer::Yes)
            return false;
    }
    m_writtenId = m_store.insert(article, m_texts->texts());
    return true;
}
