#include "MahnungPanel.h"

#include "Document.h"
#include "Formats.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

MahnungPanel::MahnungPanel(const Options &options, QWidget *parent) : QWidget(parent)
{
    // The widgets are made in the order the tab key goes through them.
    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);

    const auto edit = [this](const char *name, const QString &placeholder = {}) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setPlaceholderText(placeholder);
        connect(e, &QLineEdit::textEdited, this, &MahnungPanel::fieldChanged);
        return e;
    };
    // A column of fields, in a titled group or bare.
    const auto column = [this, &options](QHBoxLayout *row, const QString &title, const QList<QWidget *> &fields) {
        QVBoxLayout *layout;
        if (options.titledAddresses) {
            auto *group = new QGroupBox(title, this);
            layout = new QVBoxLayout(group);
            row->addWidget(group, 3);
        } else {
            layout = new QVBoxLayout;
            row->addLayout(layout, 3);
        }
        for (QWidget *w : fields)
            layout->addWidget(w);
    };

    auto *head = new QHBoxLayout;
    edtEFirma = edit("edtEFirma", QStringLiteral("Absender"));
    edtName = edit("edtName", QStringLiteral("Name"));
    edtStrasse = edit("edtStrasse", QStringLiteral("Straße"));
    edtPlzOrt = edit("edtPlzOrt", QStringLiteral("PLZ Ort"));
    if (options.smallSender) {
        QFont small = edtEFirma->font();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        edtEFirma->setFont(small);
    }
    column(head, QStringLiteral("Anschrift"), {edtEFirma, edtName, edtStrasse, edtPlzOrt});

    chkLinks = new QCheckBox(QStringLiteral("Rechnungsanschrift links"), this);
    chkLinks->setObjectName(QStringLiteral("chkLinks"));
    connect(chkLinks, &QCheckBox::clicked, this, &MahnungPanel::fieldChanged);
    edtName2 = edit("edtName2", QStringLiteral("Bezeichnung"));
    edtStrasse2 = edit("edtStrasse2", QStringLiteral("Straße"));
    edtPlzOrt2 = edit("edtPlzOrt2", QStringLiteral("PLZ Ort"));
    column(head, QStringLiteral("Rechnungsanschrift"), {chkLinks, edtName2, edtStrasse2, edtPlzOrt2});

    const auto date = [this] {
        dtDatum = new QDateEdit(QDate::currentDate(), this);
        dtDatum->setObjectName(QStringLiteral("dtDatum"));
        dtDatum->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        dtDatum->setCalendarPopup(true);
        connect(dtDatum, &QDateEdit::dateChanged, this, &MahnungPanel::fieldChanged);
    };
    edtPrNr = edit("edtPrNr");
    edtPrNr->setReadOnly(true);
    if (!options.dateLastInTabOrder)
        date();
    QWidget *number;
    if (options.storedLetterList) {
        cbNummer = new QComboBox(this);
        cbNummer->setObjectName(QStringLiteral("cbNummer"));
        number = cbNummer;
    } else {
        edtMNr = edit("edtMNr");
        edtMNr->setReadOnly(true);
        number = edtMNr;
    }
    edtKNr = edit("edtKNr");
    edtKNr->setReadOnly(true);
    edtUID = edit("edtUID");
    if (options.dateLastInTabOrder)
        date();
    auto *info = new QGridLayout;
    const std::pair<const char *, QWidget *> rows[] = {
        {"Projekt Nr", edtPrNr}, {"Datum", dtDatum}, {"Mahnung Nr", number}, {"Kunden Nr.", edtKNr}, {"UID", edtUID}};
    int r = 0;
    for (const auto &[label, w] : rows) {
        info->addWidget(new QLabel(QString::fromUtf8(label), this), r, 0);
        info->addWidget(w, r++, 1);
    }
    head->addLayout(info, 2);
    root->addLayout(head);

    auto *labels = new QHBoxLayout;
    lblInvoice = new QLabel(this);
    lblInvoice->setObjectName(QStringLiteral("lblInvoice"));
    lblLevel = new QLabel(this);
    lblLevel->setObjectName(QStringLiteral("lblLevel"));
    QFont bold = lblLevel->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    lblInvoice->setFont(bold);
    lblLevel->setFont(bold);
    labels->addWidget(lblInvoice);
    labels->addWidget(lblLevel);
    labels->addStretch(1);
    root->addLayout(labels);

    memLetter = new QPlainTextEdit(this);
    memLetter->setObjectName(QStringLiteral("memLetter"));
    if (!options.wrapLines)
        memLetter->setLineWrapMode(QPlainTextEdit::NoWrap);
    connect(memLetter, &QPlainTextEdit::textChanged, this, &MahnungPanel::fieldChanged);
    root->addWidget(memLetter, 1);
}

void MahnungPanel::showLetter(const Document &d)
{
    edtEFirma->setText(d.ownCompany);
    edtName->setText(d.address.name);
    edtStrasse->setText(d.address.street);
    edtPlzOrt->setText(d.address.postcodeTown);
    edtName2->setText(d.secondAddress.name);
    edtStrasse2->setText(d.secondAddress.street);
    edtPlzOrt2->setText(d.secondAddress.postcodeTown);
    chkLinks->setChecked(d.addressLeft);
    memLetter->setPlainText(d.letterLines.join(QLatin1Char('\n')));
}

void MahnungPanel::readLetter(Document &d) const
{
    d.date = DateToStr(dtDatum->date());
    d.addressLeft = chkLinks->isChecked();
    d.ownCompany = edtEFirma->text();
    d.address = {edtName->text(), edtStrasse->text(), edtPlzOrt->text()};
    d.secondAddress = {edtName2->text(), edtStrasse2->text(), edtPlzOrt2->text()};
    d.letterLines = memLetter->toPlainText().split(QLatin1Char('\n'));
}

void MahnungPanel::setEditable(bool editable)
{
    for (QLineEdit *e : {edtEFirma, edtName, edtStrasse, edtPlzOrt, edtName2, edtStrasse2, edtPlzOrt2, edtUID})
        e->setReadOnly(!editable);
    memLetter->setReadOnly(!editable);
    dtDatum->setEnabled(editable);
    chkLinks->setEnabled(editable);
}
