#include "ServiceDateFields.h"

#include "Document.h"
#include "Formats.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>

namespace {

QDateEdit *dateEdit(const char *name, QWidget *parent)
{
    auto *e = new QDateEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    e->setCalendarPopup(true);
    e->setDate(QDate::currentDate());
    return e;
}

} // namespace

ServiceDateFields::ServiceDateFields(QWidget *parent) : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    dtLeistung = dateEdit("dtLeistung", this);
    dtLeistung->setToolTip(QStringLiteral("Tag der Lieferung oder Leistung"));
    chkZeitraum = new QCheckBox(QStringLiteral("bis"), this);
    chkZeitraum->setObjectName(QStringLiteral("chkZeitraum"));
    chkZeitraum->setToolTip(QStringLiteral("Leistungszeitraum statt eines Leistungsdatums"));
    dtLeistungBis = dateEdit("dtLeistungBis", this);
    row->addWidget(dtLeistung, 1);
    row->addWidget(chkZeitraum);
    row->addWidget(dtLeistungBis, 1);
    dtLeistungBis->setEnabled(false);

    const auto edited = [this] {
        if (!m_filling)
            Q_EMIT this->edited();
    };
    connect(dtLeistung, &QDateEdit::dateChanged, this, edited);
    connect(dtLeistungBis, &QDateEdit::dateChanged, this, edited);
    connect(chkZeitraum, &QCheckBox::toggled, this, [this, edited](bool on) {
        dtLeistungBis->setEnabled(on && m_editable);
        if (on && dtLeistungBis->date() < dtLeistung->date())
            setFilling([this] { dtLeistungBis->setDate(dtLeistung->date()); });
        edited();
    });
}

void ServiceDateFields::setFilling(const std::function<void()> &change)
{
    const bool was = m_filling;
    m_filling = true;
    change();
    m_filling = was;
}

void ServiceDateFields::showDocument(const Document &d)
{
    setFilling([&] {
        m_documentDate = IsValidDateText(d.date) ? StrToDate(d.date) : QDate::currentDate();
        const QString from = d.effectiveServiceDate();
        dtLeistung->setDate(IsValidDateText(from) ? StrToDate(from) : m_documentDate);
        chkZeitraum->setChecked(d.hasServicePeriod());
        dtLeistungBis->setDate(d.hasServicePeriod() ? StrToDate(d.serviceDateTo) : dtLeistung->date());
    });
    setEditable(m_editable);
}

void ServiceDateFields::readInto(Document &d) const
{
    d.serviceDate = DateToStr(dtLeistung->date());
    d.serviceDateTo = chkZeitraum->isChecked() && dtLeistungBis->date() != dtLeistung->date()
                          ? DateToStr(dtLeistungBis->date())
                          : QString();
}

void ServiceDateFields::documentDateChanged(const QDate &date)
{
    if (dtLeistung->date() == m_documentDate && !chkZeitraum->isChecked())
        setFilling([&] {
            dtLeistung->setDate(date);
            dtLeistungBis->setDate(date);
        });
    m_documentDate = date;
}

void ServiceDateFields::setEditable(bool editable)
{
    m_editable = editable;
    dtLeistung->setEnabled(editable);
    chkZeitraum->setEnabled(editable);
    dtLeistungBis->setEnabled(editable && chkZeitraum->isChecked());
}
