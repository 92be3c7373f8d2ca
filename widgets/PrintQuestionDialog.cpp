#include "PrintQuestionDialog.h"

#include "Dialogs.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

PrintQuestionDialog::PrintQuestionDialog(const QString &message, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("PrintQuestionDialog"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    memMessage = new QPlainTextEdit(message, this);
    memMessage->setObjectName(QStringLiteral("memMessage"));
    memMessage->setReadOnly(true);
    memMessage->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(memMessage, 1);
    auto *buttons = new QHBoxLayout;
    btnProbedruck = new QPushButton(QStringLiteral("&Probedruck"), this);
    btnProbedruck->setObjectName(QStringLiteral("btnProbedruck"));
    btnSpeichernDrucken = new QPushButton(QStringLiteral("Speichern u. &Drucken"), this);
    btnSpeichernDrucken->setObjectName(QStringLiteral("btnSpeichernDrucken"));
    btnAbbrechen = new QPushButton(QStringLiteral("&Abbrechen"), this);
    btnAbbrechen->setObjectName(QStringLiteral("btnAbbrechen"));
    for (QPushButton *b : {btnProbedruck, btnSpeichernDrucken, btnAbbrechen}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    btnSpeichernDrucken->setDefault(true);
    layout->addLayout(buttons);
    const auto choose = [this](Choice c) {
        return [this, c] {
            m_choice = c;
            c == Cancel ? reject() : accept();
        };
    };
    connect(btnProbedruck, &QPushButton::clicked, this, choose(TestPrint));
    connect(btnSpeichernDrucken, &QPushButton::clicked, this, choose(SaveAndPrint));
    connect(btnAbbrechen, &QPushButton::clicked, this, choose(Cancel));
    // Escape and closing the window leave the choice at Cancel.
    setFixedSize(QSize(282, 116).expandedTo(minimumSizeHint()));
    btnSpeichernDrucken->setFocus();
}

int AskPrint(Dialogs &dialogs, const QString &message)
{
    switch (dialogs.question(message, Dialogs::Buttons::PrintChoice)) {
    case Dialogs::Answer::Yes: return PrintQuestionDialog::SaveAndPrint;
    case Dialogs::Answer::No: return PrintQuestionDialog::TestPrint;
    default: return PrintQuestionDialog::Cancel;
    }
}
