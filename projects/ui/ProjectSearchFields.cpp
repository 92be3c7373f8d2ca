#include "ProjectSearchFields.h"

#include "DateInput.h"

#include "Dialogs.h"
#include "Errors.h"
#include "Formats.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

namespace {

QComboBox *numberList(const char *name, QWidget *parent)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), c));
    return c;
}

DateInput *dateField(const char *name, QDate date, QWidget *parent)
{
    auto *d = new DateInput(date, parent);
    d->setObjectName(QLatin1String(name));
    return d;
}

} // namespace

ProjectSearchFields::ProjectSearchFields(Dialogs &dialogs, Style style, QWidget *parent)
    : QGroupBox(QStringLiteral("&Suche"), parent), m_dialogs(dialogs), m_style(style)
{
    setObjectName(QStringLiteral("grpSuche"));
    rbFirmen = new QRadioButton(QStringLiteral("&Firmen"), this);
    rbFirmen->setObjectName(QStringLiteral("rbFirmen"));
    rbFirmen->setChecked(true);
    rbPersonen = new QRadioButton(QStringLiteral("&Personen"), this);
    rbPersonen->setObjectName(QStringLiteral("rbPersonen"));
    cbVorgangsart = new QComboBox(this);
    cbVorgangsart->setObjectName(QStringLiteral("cbVorgangsart"));
    cbKundennummer = numberList("cbKundennummer", this);
    cbProjektnummer = numberList("cbProjektnummer", this);
    edtProjektname = new QLineEdit(this);
    edtProjektname->setObjectName(QStringLiteral("edtProjektname"));
    edtName = new QLineEdit(this);
    edtName->setObjectName(QStringLiteral("edtName"));
    lblKundennummer = new QLabel(QStringLiteral("Kundennummer"), this);
    lblProjektnummer = new QLabel(QStringLiteral("Projektnummer"), this);
    lblName = new QLabel(QStringLiteral("Firmenname"), this);

    auto *grid = new QGridLayout(this);
    grid->setVerticalSpacing(3);
    auto *contacts = new QHBoxLayout;
    contacts->addWidget(rbFirmen);
    contacts->addWidget(rbPersonen);
    contacts->addStretch(1);
    grid->addLayout(contacts, 0, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("Vorgangsart"), this), 1, 0);
    grid->addWidget(cbVorgangsart, 1, 1);
    grid->addWidget(lblKundennummer, 2, 0);
    grid->addWidget(cbKundennummer, 2, 1);
    grid->addWidget(lblProjektnummer, 2, 2);
    grid->addWidget(cbProjektnummer, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("Projektname"), this), 3, 0);
    grid->addWidget(edtProjektname, 3, 1, 1, 3);
    grid->addWidget(lblName, 4, 0);
    grid->addWidget(edtName, 4, 1, 1, 3);

    // "Projekt erstellt": a period or one day; dates are kept between openings.
    const QDate today = QDate::currentDate();
    dtVon = dateField("dtVon", today.addDays(-30), this);
    dtBis = dateField("dtBis", today, this);
    dtAm = dateField("dtAm", today, this);
    const bool projectSearch = style == Style::ProjectSearch;
    // The options of the period are a pair of their own, apart from companies and persons.
    auto *created = new QGroupBox(QStringLiteral("Projekt erstellt"), this);
    rbRange = new QRadioButton(projectSearch ? QStringLiteral("bis") : QStringLiteral("von"), created);
    rbRange->setObjectName(QStringLiteral("rbRange"));
    rbRange->setChecked(true);
    rbDay = new QRadioButton(QStringLiteral("am"), created);
    rbDay->setObjectName(QStringLiteral("rbDay"));
    auto *period = new QGridLayout(created);
    period->setContentsMargins(6, 2, 6, 2);
    period->setVerticalSpacing(2);
    if (projectSearch) {
        period->addWidget(new QLabel(QStringLiteral("von"), created), 0, 0);
        period->addWidget(dtVon, 0, 1);
        period->addWidget(rbRange, 0, 2);
        period->addWidget(dtBis, 0, 3);
        btnSuchen = new QPushButton(QStringLiteral("Suchen"), created);
        btnSuchen->setObjectName(QStringLiteral("btnSuchenDatum"));
        period->addWidget(btnSuchen, 1, 3);
        connect(btnSuchen, &QPushButton::clicked, this, &ProjectSearchFields::searchRequested);
    } else {
        period->addWidget(rbRange, 0, 0);
        period->addWidget(dtVon, 0, 1);
        period->addWidget(new QLabel(QStringLiteral("bis"), created), 0, 2);
        period->addWidget(dtBis, 0, 3);
    }
    period->addWidget(rbDay, 1, 0);
    period->addWidget(dtAm, 1, 1);
    // what is searched, said in words: an empty "von" reaches back to the first document
    lblZeitraum = new QLabel(created);
    lblZeitraum->setObjectName(QStringLiteral("lblZeitraum"));
    period->addWidget(lblZeitraum, 2, 0, 1, 4);
    grid->addWidget(created, 5, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    connect(rbPersonen, &QRadioButton::toggled, this, [this](bool persons) {
        lblName->setText(persons ? QStringLiteral("Nachname") : QStringLiteral("Firmenname"));
        if (!m_filling)
            Q_EMIT contactsChanged();
    });
    connect(cbVorgangsart, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            Q_EMIT kindChanged();
    });
    connect(cbKundennummer->lineEdit(), &QLineEdit::textEdited, this, [this] {
        numberEdited(cbKundennummer, cbProjektnummer,
                     QStringLiteral("Bitte die Kundennummer ohne führende Nullen eingeben"));
    });
    connect(cbProjektnummer->lineEdit(), &QLineEdit::textEdited, this, [this] {
        numberEdited(cbProjektnummer, cbKundennummer,
                     QStringLiteral("Bitte die Projektnummer ohne führende Nullen eingeben"));
    });
    // A number picked from a list filters as the number it shows.
    for (auto [field, other] : {std::pair{cbKundennummer, cbProjektnummer}, std::pair{cbProjektnummer, cbKundennummer}})
        connect(field, &QComboBox::activated, this, [this, other] {
            const QSignalBlocker block(other);
            other->setEditText(QString());
            Q_EMIT numberChosen();
        });
    for (QLineEdit *e : {edtProjektname, edtName, cbKundennummer->lineEdit(), cbProjektnummer->lineEdit()})
        connect(e, &QLineEdit::returnPressed, this, &ProjectSearchFields::searchRequested);

    for (DateInput *d : {dtVon, dtBis, dtAm}) {
        QRadioButton *option = d == dtAm ? rbDay : rbRange;
        connect(d, &DateInput::dateChanged, this, [this, option] {
            if (!m_filling)
                option->setChecked(true);
            showPeriod();
        });
        // The period is checked when the user is done with a date: the field is
        // left, or a day is picked in its calendar.
        connect(d, &DateInput::editingFinished, this, [this, d] {
            if (d != dtAm)
                checkPeriod(d);
            showPeriod();
            Q_EMIT datesChanged();
        });
    }
    connect(rbDay, &QRadioButton::toggled, this, &ProjectSearchFields::showPeriod);
    showPeriod();
    connect(rbDay, &QRadioButton::clicked, this, &ProjectSearchFields::datesChanged);
    connect(rbRange, &QRadioButton::clicked, this, &ProjectSearchFields::datesChanged);
}

QString ProjectSearchFields::kindEntry(std::optional<DocumentKind> kind)
{
    return kind ? kind->name() : QStringLiteral("Projekt");
}

void ProjectSearchFields::setKinds(const QList<std::optional<DocumentKind>> &kinds)
{
    const std::optional<DocumentKind> before = kind();
    m_filling = true;
    cbVorgangsart->clear();
    // The working document is "Arbeitsablage" where documents are chosen for a
    // take-over, "Ablage" in the project search.
    for (const std::optional<DocumentKind> &k : kinds)
        cbVorgangsart->addItem(m_style == Style::TakeOver && k ? k->listCaption() : kindEntry(k),
                               k ? k->number() : -1);
    m_filling = false;
    if (!selectKind(before))
        cbVorgangsart->setCurrentIndex(0);
}

QList<std::optional<DocumentKind>> ProjectSearchFields::kinds() const
{
    QList<std::optional<DocumentKind>> out;
    for (int i = 0; i < cbVorgangsart->count(); ++i)
        out << DocumentKind::fromNumber(cbVorgangsart->itemData(i).toInt());
    return out;
}

std::optional<DocumentKind> ProjectSearchFields::kind() const
{
    if (cbVorgangsart->currentIndex() < 0)
        return std::nullopt;
    return DocumentKind::fromNumber(cbVorgangsart->currentData().toInt());
}

bool ProjectSearchFields::selectKind(std::optional<DocumentKind> kind)
{
    const int i = cbVorgangsart->findData(kind ? kind->number() : -1);
    if (i < 0)
        return false;
    cbVorgangsart->setCurrentIndex(i);
    return true;
}

bool ProjectSearchFields::persons() const
{
    return rbPersonen->isChecked();
}

void ProjectSearchFields::setPersons(bool persons)
{
    m_filling = true;
    (persons ? rbPersonen : rbFirmen)->setChecked(true);
    m_filling = false;
}

void ProjectSearchFields::setNumberLists(const QList<qint64> &customers, const QList<qint64> &projects)
{
    const auto fill = [](QComboBox *list, QLabel *label, const QList<qint64> &numbers) {
        const QSignalBlocker block(list);
        list->clear();
        for (qint64 n : numbers)
            list->addItem(PadNumber(n));
        list->setEnabled(!numbers.isEmpty());
        label->setEnabled(!numbers.isEmpty());
        list->setCurrentIndex(-1);
        list->setEditText(QString());
    };
    fill(cbKundennummer, lblKundennummer, customers);
    fill(cbProjektnummer, lblProjektnummer, projects);
}

void ProjectSearchFields::clearTexts()
{
    edtProjektname->clear();
    edtName->clear();
}

void ProjectSearchFields::numberEdited(QComboBox *field, QComboBox *other, const QString &message)
{
    if (field->currentText().startsWith(QLatin1Char('0'))) {
        field->setEditText(QString());
        m_dialogs.information(message);
        return;
    }
    // At most one of the two numbers filters.
    const QSignalBlocker block(other);
    other->setEditText(QString());
    Q_EMIT numberChosen();
}

void ProjectSearchFields::checkPeriod(DateInput *changed)
{
    if (!dtVon->date().isValid() || !dtBis->date().isValid() || dtBis->date() >= dtVon->date())
        return;
    m_filling = true;
    if (changed == dtVon)
        dtVon->setDate(dtBis->date());
    else
        dtBis->setDate(dtVon->date());
    m_filling = false;
    m_dialogs.warning(QStringLiteral("Datum Begin ist größer als Datum Ende!"));
}

QString ProjectSearchFields::periodText() const
{
    const QString head = QStringLiteral("Gesucht wird ");
    if (rbDay->isChecked())
        return dtAm->date().isValid() ? head + QStringLiteral("am ") + DateToStr(dtAm->date()) + QLatin1Char('.')
                                      : QStringLiteral("Bitte ein Datum eingeben.");
    if (!dtVon->isAcceptable() || !dtBis->isAcceptable())
        return QStringLiteral("Bitte das Datum als TT.MM.JJJJ eingeben.");
    const QString from = DateToStr(dtVon->date()), to = DateToStr(dtBis->date());
    if (dtVon->isEmpty())
        return dtBis->isEmpty() ? head + QStringLiteral("in allen Daten.")
                                : head + QStringLiteral("vom ersten Vorgang an bis zum %1.").arg(to);
    return dtBis->isEmpty() ? head + QStringLiteral("vom %1 an.").arg(from)
                            : head + QStringLiteral("vom %1 bis zum %2.").arg(from, to);
}

void ProjectSearchFields::showPeriod()
{
    lblZeitraum->setText(periodText());
}

namespace {

QString checkedDate(const DateInput *field, const QString &name, bool mayBeEmpty)
{
    if (field->isEmpty() && mayBeEmpty)
        return QString();
    if (!field->date().isValid())
        throw ConversionError(QStringLiteral("„%1“ ist kein Datum. Bitte das Datum als TT.MM.JJJJ eingeben%2.")
                                  .arg(field->text().isEmpty() ? name : field->text(),
                                       mayBeEmpty ? QStringLiteral(" oder das Feld leer lassen") : QString()));
    return DateToStr(field->date());
}

} // namespace

ProjectSearch ProjectSearchFields::criteria()
{
    checkPeriod(dtBis);
    ProjectSearch s;
    s.kind = kind();
    s.persons = persons();
    s.customer = ProjectSearchStore::numberFilter(cbKundennummer->currentText(), QStringLiteral("Kundennummer"));
    s.project = ProjectSearchStore::numberFilter(cbProjektnummer->currentText(), QStringLiteral("Projektnummer"));
    s.projectName = edtProjektname->text();
    s.contactName = edtName->text();
    s.dates = rbDay->isChecked() ? ProjectSearch::Dates::Day : ProjectSearch::Dates::Range;
    if (s.dates == ProjectSearch::Dates::Day) {
        s.day = checkedDate(dtAm, QStringLiteral("am"), false);
    } else {
        s.from = checkedDate(dtVon, QStringLiteral("von"), true);
        s.to = checkedDate(dtBis, QStringLiteral("bis"), true);
    }
    return s;
}

// --- result list ---------------------------------------------------------------

void ProjectSearchModel::setRows(const QList<ProjectSearchRow> &rows)
{
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

void ProjectSearchModel::setContactHeading(const QString &heading)
{
    m_contactHeading = heading;
    Q_EMIT headerDataChanged(Qt::Horizontal, Kontakt, Kontakt);
}

int ProjectSearchModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ProjectSearchModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString ProjectSearchModel::documentText(const ProjectSearchRow &row)
{
    if (!row.kind)
        return ProjectSearchFields::kindEntry(std::nullopt);
    return row.kind->name() + QLatin1Char(' ') + PadNumber(row.number);
}

QVariant ProjectSearchModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    const ProjectSearchRow &r = m_rows.at(index.row());
    switch (index.column()) {
    case ProjektNr: return PadNumber(r.project);
    case ProjektName: return r.projectName;
    case Vorgang: return documentText(r);
    case Datum: return r.date;
    case Kontakt: return r.contact;
    case BelegNr: return r.kind ? QString::number(r.number) : QString();
    case KNr: return QString::number(r.customer);
    }
    return {};
}

QVariant ProjectSearchModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case ProjektNr: return QStringLiteral("Projekt Nr.");
    case ProjektName: return QStringLiteral("Projekt Name");
    case Vorgang: return QStringLiteral("Vorgang");
    case Datum: return QStringLiteral("Datum");
    case Kontakt: return m_contactHeading;
    }
    return {};
}
