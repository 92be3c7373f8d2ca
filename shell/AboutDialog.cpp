#include "AboutDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AboutDialog::AboutDialog(const QString &homeDir, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Über Orbel"));
    auto *l = new QVBoxLayout(this);
    auto *title = new QLabel(QStringLiteral("<h2>Orvella-Suite</h2>"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    auto *version = new QLabel(QStringLiteral("Version %1").arg(QStringLiteral(ORVELLA_VERSION)), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    auto *text = new QLabel(QStringLiteral("Adressen, Projekte, Angebote, Aufträge, Lieferscheine,\n"
                                           "Rechnungen, Gutschriften und Mahnungen für kleine Betriebe."),
                            this);
    l->addWidget(title);
    l->addWidget(version);
    l->addWidget(text);
    if (!homeDir.isEmpty()) {
        auto *where = new QLabel(QStringLiteral("Datenordner: %1").arg(homeDir), this);
        where->setTextInteractionFlags(Qt::TextSelectableByMouse);
        l->addWidget(where);
    }
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    l->addWidget(buttons);
}

void ShowAboutDialog(QWidget *parent, const QString &homeDir)
{
    AboutDialog dlg(homeDir, parent);
    dlg.exec();
}
