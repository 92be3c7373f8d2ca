#include "AboutDialog.h"

#include "Icons.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AboutDialog::AboutDialog(const QString &homeDir, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Über Orvella"));
    auto *outer = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    outer->addLayout(top);
    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("lblIcon"));
    icon->setPixmap(ProgramIcon().pixmap(QSize(64, 64), devicePixelRatio()));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    top->addWidget(icon);
    top->addSpacing(12);
    auto *l = new QVBoxLayout;
    top->addLayout(l, 1);
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
    outer->addWidget(buttons);
}

void ShowAboutDialog(QWidget *parent, const QString &homeDir)
{
    AboutDialog dlg(homeDir, parent);
    dlg.exec();
}
