#include "AddressGroup.h"

#include "ContactGrid.h"
#include "FieldLook.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

AddressGroup::AddressGroup(const QString &prefix, QWidget *parent) : QGroupBox(QStringLiteral("Adressen"), parent)
{
    setObjectName(QStringLiteral("grp%1Addresses").arg(prefix));
    m_kind = new QLineEdit(this);
    m_kind->setObjectName(QStringLiteral("edt%1AddressKind").arg(prefix));
    m_street = new QLineEdit(this);
    m_street->setObjectName(QStringLiteral("edt%1Street").arg(prefix));
    m_postcode = new QLineEdit(this);
    m_postcode->setObjectName(QStringLiteral("edt%1Postcode").arg(prefix));
    m_postcode->setMaximumWidth(70);
    m_town = new QLineEdit(this);
    m_town->setObjectName(QStringLiteral("edt%1Town").arg(prefix));
    m_country = new QComboBox(this);
    m_country->setObjectName(QStringLiteral("cbo%1Country").arg(prefix));
    m_country->setEditable(true);
    m_country->setInsertPolicy(QComboBox::NoInsert);
    m_country->setMinimumContentsLength(11);

    m_model = new GridModel({QStringLiteral("Bezeichnung"), QStringLiteral("Straße"), QStringLiteral("PLZ"),
                             QStringLiteral("Ort"), QStringLiteral("Land"), QString()},
                            AdrColumnCount, this);
    m_grid = new GridView(this);
    m_grid->setObjectName(QStringLiteral("grd%1Addresses").arg(prefix));
    m_grid->setGridModel(m_model);
    m_grid->setColumnHidden(AdrIDA, true);
    m_grid->setRowHasText(&ContactGrid::addressRowHasText);
    const int widths[] = {197, 208, 51, 175, 72};
    for (int c = 0; c < 5; ++c)
        m_grid->setColumnWidth(c, widths[c]);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setMinimumHeight(m_grid->verticalHeader()->defaultSectionSize() * 3 + m_grid->horizontalHeader()->sizeHint().height() + 4);

    m_swap = new QPushButton(QStringLiteral("Hauptadresse tauschen"), this);
    m_swap->setObjectName(QStringLiteral("btn%1SwapMainAddress").arg(prefix));
    m_swap->setAutoDefault(false);

    auto *grid = new QGridLayout(this);
    grid->setVerticalSpacing(4);
    grid->addWidget(m_swap, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Bezeichnung"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Straße"), this), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("PLZ"), this), 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Ort"), this), 0, 4);
    grid->addWidget(new QLabel(QStringLiteral("Land"), this), 0, 5);
    grid->addWidget(new QLabel(QStringLiteral("Hauptadresse:"), this), 1, 0);
    grid->addWidget(m_kind, 1, 1);
    grid->addWidget(m_street, 1, 2);
    grid->addWidget(m_postcode, 1, 3);
    grid->addWidget(m_town, 1, 4);
    grid->addWidget(m_country, 1, 5);
    grid->addWidget(m_grid, 2, 0, 1, 6);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 3);
    grid->setColumnStretch(4, 3);
    grid->setColumnStretch(5, 2);
    grid->setRowStretch(2, 1);

    for (QLineEdit *e : {m_kind, m_street, m_postcode, m_town})
        connect(e, &QLineEdit::textEdited, this, &AddressGroup::changed);
    connect(m_country->lineEdit(), &QLineEdit::textEdited, this, &AddressGroup::changed);
    connect(m_country, &QComboBox::activated, this, &AddressGroup::changed);
    connect(m_model, &GridModel::userEdited, this, [this](int row, int) { afterEdit(row); });
    connect(m_grid, &GridView::typing, this, &AddressGroup::changed);
    // a click into the grid while the contact can be saved counts as a change
    connect(m_grid, &QAbstractItemView::clicked, this, [this] {
        if (m_editable)
            Q_EMIT changed();
    });
    connect(m_swap, &QPushButton::clicked, this, &AddressGroup::swapMainAddress);
    clear();
}

void AddressGroup::afterEdit(int)
{
    if (ContactGrid::addressGridNeedsRow(m_model->rows()))
        m_model->appendEmptyRow();
    Q_EMIT changed();
}

AddressRow AddressGroup::mainAddress() const
{
    return AddressRow{m_kind->text(), m_street->text(), m_postcode->text(), m_town->text(),
                      m_country->currentText(), m_mainIda};
}

QList<AddressRow> AddressGroup::furtherAddresses() const
{
    return ContactGrid::toAddresses(m_model->rows());
}

void AddressGroup::showAddresses(const AddressRow &main, const QList<AddressRow> &further)
{
    m_kind->setText(main.art);
    m_street->setText(main.strasse);
    m_postcode->setText(main.plz);
    m_town->setText(main.ort);
    m_country->setCurrentText(main.land);
    m_mainIda = main.ida;
    // the grid grows by one row for every address read, so empty rows remain
    const int read = int(further.size()) + (main.ida.isEmpty() ? 0 : 1);
    m_model->setRows(ContactGrid::fromAddresses(further), 1 + read);
}

void AddressGroup::clear()
{
    showAddresses(AddressRow{}, {});
}

void AddressGroup::setCountries(const QStringList &countries)
{
    const QString current = m_country->currentText();
    m_country->clear();
    m_country->addItems(countries);
    m_country->setCurrentText(current);
}

void AddressGroup::setEditable(bool editable)
{
    m_editable = editable;
    for (QLineEdit *e : {m_kind, m_street, m_postcode, m_town})
        SetFieldEditable(e, editable);
    m_country->setEnabled(editable);
    m_swap->setEnabled(editable);
    m_grid->setEditable(editable);
}

void AddressGroup::swapMainAddress()
{
    if (!m_editable)
        return;
    int row = m_grid->currentIndex().row();
    if (row < 0)
        row = 0;
    const AddressRow main = mainAddress();
    m_kind->setText(m_model->cell(row, AdrBezeichnung));
    m_street->setText(m_model->cell(row, AdrStrasse));
    m_postcode->setText(m_model->cell(row, AdrPLZ));
    m_town->setText(m_model->cell(row, AdrOrt));
    m_country->setCurrentText(m_model->cell(row, AdrLand));
    m_model->setCell(row, AdrBezeichnung, main.art);
    m_model->setCell(row, AdrStrasse, main.strasse);
    m_model->setCell(row, AdrPLZ, main.plz);
    m_model->setCell(row, AdrOrt, main.ort);
    m_model->setCell(row, AdrLand, main.land);
    if (ContactGrid::addressGridNeedsRow(m_model->rows()))
        m_model->appendEmptyRow();
    Q_EMIT changed();
}
