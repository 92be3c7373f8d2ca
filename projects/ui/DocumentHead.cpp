#include "DocumentHead.h"

#include "Dialogs.h"
#include "Document.h"
#include "Formats.h"
#include "ProjectStore.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

void DocumentHead::setProject(qint64 projectNumber, const QString &projectName)
{
    m_projectNumber = projectNumber;
    m_projectName = projectName;
    edtPrNr->setText(QStringLiteral("     ") + PadNumber(projectNumber));
}

void DocumentHead::setCustomer(qint64 customer)
{
    edtKNr->setText(QStringLiteral("       ") + PadNumber(customer));
}

bool DocumentHead::askSaveChanges(Dialogs &dialogs, const std::function<bool()> &save)
{
    const auto answer = dialogs.question(
        QStringLiteral("Daten wurden verändert aber nicht gesichert.Wollen Sie diese Daten jetz speichern? "),
        Dialogs::Buttons::YesNoCancel, QStringLiteral("Warnung"));
    if (answer == Dialogs::Answer::Cancel)
        return false;
    if (answer == Dialogs::Answer::Yes)
        return save();
    return true;
}

QHBoxLayout *DocumentHead::createFrame(QWidget *page, QVBoxLayout *root, const QString &caption)
{
    lblNoPermission = new QLabel(QStringLiteral("keine Berechtigung"), page);
    lblNoPermission->setObjectName(QStringLiteral("lblNoPermission"));
    lblNoPermission->setAlignment(Qt::AlignCenter);
    lblNoPermission->setVisible(false);
    root->addWidget(lblNoPermission);
    grpDocument = new QGroupBox(caption, page);
    grpDocument->setObjectName(QStringLiteral("grpDocument"));
    root->addWidget(grpDocument, 1);
    return new QHBoxLayout(grpDocument);
}

void DocumentHead::showNoPermission(bool hidden)
{
    grpDocument->setVisible(!hidden);
    lblNoPermission->setVisible(hidden);
}

QGroupBox *DocumentHead::createFirstAddress(QWidget *page,
                                            const std::function<QLineEdit *(const char *, const QString &)> &edit)
{
    auto *first = new QGroupBox(QStringLiteral("Anschrift"), page);
    auto *fl = new QVBoxLayout(first);
    edtEFirma = edit("edtEFirma", QStringLiteral("Absender"));
    edtName = edit("edtName", QStringLiteral("Name"));
    edtStrasse = edit("edtStrasse", QStringLiteral("Straße"));
    edtPlzOrt = edit("edtPlzOrt", QStringLiteral("PLZ Ort"));
    for (QLineEdit *e : {edtEFirma, edtName, edtStrasse, edtPlzOrt})
        fl->addWidget(e);
    return first;
}

void DocumentHead::showFirstAddress(const ProjectValue &p)
{
    edtEFirma->setText(p.eFirma);
    edtName->setText(p.recipientName());
    edtStrasse->setText(p.anschrift.strasse);
    edtPlzOrt->setText(p.anschrift.plz + QLatin1Char(' ') + p.anschrift.ort);
}

void DocumentHead::showFirstAddress(const Document &d)
{
    edtEFirma->setText(d.ownCompany);
    edtName->setText(d.address.name);
    edtStrasse->setText(d.address.street);
    edtPlzOrt->setText(d.address.postcodeTown);
}

void DocumentHead::readFirstAddress(Document &d) const
{
    d.ownCompany = edtEFirma->text();
    d.address = {edtName->text(), edtStrasse->text(), edtPlzOrt->text()};
}

QString SavedMessage(const QString &kindName, qint64 number)
{
    return kindName + QLatin1Char(' ') + PadNumber(number) + QStringLiteral(" gespeichert.");
}
