#include "ProjectGeneralFields.h"

#include "NumberEdit.h"
#include "ProjectStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

void ProjectGeneralFields::createGeneralFields(QWidget *group, Dialogs &dialogs,
                                               const std::function<QLineEdit *(const char *)> &edit,
                                               const std::function<void(QLineEdit *)> &watch,
                                               const char *skontoTextName, const char *skontoName,
                                               const QString &skontoLabel)
{
    const auto number = [&](const char *name, NumberInput::Kind kind, const QString &label) {
        auto *e = new NumberEdit({kind, label}, &dialogs, group);
        e->setObjectName(QLatin1String(name));
        if (watch)
            watch(e);
        return e;
    };
    lblAnrede = new QLabel(QStringLiteral("Anrede / Titel"), group);
    edtAnrede = edit("edtAnrede");
    edtTitel = edit("edtTitel");
    lblVName = new QLabel(QStringLiteral("Firma"), group);
    edtVName = edit("edtVName");
    lblNName = new QLabel(QStringLiteral("Branche"), group);
    edtNName = edit("edtNName");
    edtUID = edit("edtUID");
    chkUID = new QCheckBox(QStringLiteral("UID verwenden"), group);
    chkUID->setObjectName(QStringLiteral("chkUID"));
    cbUSt = new QComboBox(group);
    cbUSt->setObjectName(QStringLiteral("cbUSt"));
    edtRabattText = edit("edtRabattText");
    edtRabatt = number("edtRabatt", NumberInput::Kind::Percent, QStringLiteral("Rabatt %"));
    edtSkontoText = edit(skontoTextName);
    edtSkonto = number(skontoName, NumberInput::Kind::Percent, skontoLabel + QStringLiteral(" %"));
    edtZahlungsziel = number("edtZahlungsziel", NumberInput::Kind::Days, QStringLiteral("Netto Zahlungsziel"));
    edtRabatt->setMaximumWidth(70);
    edtSkonto->setMaximumWidth(70);
    edtZahlungsziel->setMaximumWidth(60);
}

int ProjectGeneralFields::addGeneralRows(QGridLayout *g, QWidget *group, const QString &skontoCaption) const
{
    int r = 0;
    g->addWidget(lblAnrede, r, 0);
    g->addWidget(edtAnrede, r, 1);
    g->addWidget(edtTitel, r++, 2);
    g->addWidget(lblVName, r, 0);
    g->addWidget(edtVName, r++, 1, 1, 2);
    g->addWidget(lblNName, r, 0);
    g->addWidget(edtNName, r++, 1, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("UID"), group), r, 0);
    g->addWidget(edtUID, r, 1);
    g->addWidget(chkUID, r++, 2);
    g->addWidget(new QLabel(QStringLiteral("USt-Satz"), group), r, 0);
    g->addWidget(cbUSt, r++, 1);
    g->addWidget(new QLabel(QStringLiteral("Rabatt Text / %"), group), r, 0);
    g->addWidget(edtRabattText, r, 1);
    g->addWidget(edtRabatt, r++, 2, Qt::AlignLeft);
    g->addWidget(new QLabel(skontoCaption, group), r, 0);
    g->addWidget(edtSkontoText, r, 1);
    g->addWidget(edtSkonto, r++, 2, Qt::AlignLeft);
    auto *term = new QHBoxLayout;
    term->addWidget(edtZahlungsziel);
    term->addWidget(new QLabel(QStringLiteral("Tage"), group));
    term->addStretch(1);
    g->addWidget(new QLabel(QStringLiteral("Netto Zahlungsziel"), group), r, 0);
    g->addLayout(term, r++, 1, 1, 2);
    return r;
}

void ProjectGeneralFields::showContactKind(bool company)
{
    lblAnrede->setVisible(!company);
    edtAnrede->setVisible(!company);
    edtTitel->setVisible(!company);
    lblVName->setText(company ? QStringLiteral("Firma") : QStringLiteral("Vorname"));
    lblNName->setText(company ? QStringLiteral("Branche") : QStringLiteral("Nachname"));
}

void ProjectGeneralFields::showGeneralTexts(const ProjectValue &v)
{
    edtAnrede->setText(v.anrede);
    edtTitel->setText(v.titel);
    edtVName->setText(v.vname);
    edtNName->setText(v.nname);
    edtUID->setText(v.uid);
    edtRabattText->setText(v.rabattText);
    edtRabatt->setText(v.rabatt);
    edtSkontoText->setText(v.scontoText);
    edtSkonto->setText(v.sconto);
    edtZahlungsziel->setText(v.zahlungsziel);
}

void ProjectGeneralFields::readGeneralFields(ProjectValue &v) const
{
    v.anrede = edtAnrede->text();
    v.titel = edtTitel->text();
    v.vname = edtVName->text();
    v.nname = edtNName->text();
    v.uid = edtUID->text();
    v.uidStatus = chkUID->isChecked();
    v.ust = cbUSt->currentText();
    v.rabattText = edtRabattText->text();
    v.rabatt = edtRabatt->text();
    v.scontoText = edtSkontoText->text();
    v.sconto = edtSkonto->text();
    v.zahlungsziel = edtZahlungsziel->text();
}
