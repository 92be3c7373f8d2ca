#include "TfrmService.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "Dialogs.h"
#include "WindowHub.h"
#include "WindowPlacement.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using DataMaintenance::Group;

TfrmService::TfrmService(AppState &state, QWidget *parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("TfrmService"));
    setWindowTitle(QStringLiteral("frmService"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    static const char *const names[DataMaintenance::GroupCount] = {
        "btnAlle",     "btnArtikel",    "btnProjekte",     "btnAngebote", "btnAuftraege",
        "btnLieferscheine", "btnRechnungen", "btnGutschriften", "btnAblage",   "btnMahnungen"};
    auto *root = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    for (int i = 0; i < DataMaintenance::GroupCount; ++i) {
        const auto group = Group(i);
        auto *b = new QPushButton(DataMaintenance::caption(group), this);
        b->setObjectName(QLatin1String(names[i]));
        b->setAutoDefault(false);
        b->setMinimumHeight(32);
        // "Alle Tabellen löschen" and "Projekte löschen" run the others after
        // their own tables; they stand apart in the first row.
        grid->addWidget(b, i < 3 ? 0 : 1 + (i - 3) / 3, i < 3 ? i : (i - 3) % 3);
        connect(b, &QPushButton::clicked, this, [this, group] { RunCommand(m_state.dialogs, [this, group] { cmdEmpty(group); }); });
        btnGroup[std::size_t(i)] = b;
    }
    root->addLayout(grid);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setWordWrap(true);
    root->addWidget(lblStatus);
    btnSchliessen = new QPushButton(QStringLiteral("&Schließen"), this);
    btnSchliessen->setObjectName(QStringLiteral("btnSchliessen"));
    btnSchliessen->setAutoDefault(false);
    connect(btnSchliessen, &QPushButton::clicked, this, &QDialog::accept);
    root->addWidget(btnSchliessen, 0, Qt::AlignRight);
    ResizeWithinScreen(this, sizeHint().expandedTo(QSize(560, 0)));
}

void TfrmService::cmdEmpty(Group group)
{
    if (const QString refused = DataMaintenance::refusal(m_state.db, group); !refused.isEmpty()) {
        m_state.dialogs.warning(refused);
        lblStatus->setText(QStringLiteral("Es wurde nichts gelöscht."));
        return;
    }
    const DataMaintenance::RowCounts rows = DataMaintenance::rowCounts(m_state.db, group);
    if (m_state.dialogs.question(DataMaintenance::question(group, rows), Dialogs::Buttons::YesNo,
                                 QStringLiteral("Warnung"))
        != Dialogs::Answer::Yes) {
        lblStatus->setText(QStringLiteral("Es wurde nichts gelöscht."));
        return;
    }
    // A window that shows stored data is closed first; if it holds unsaved
    // changes it asks, and when the user keeps them nothing is emptied.
    if (m_state.hub && !m_state.hub->closeDataWindows()) {
        lblStatus->setText(QStringLiteral("Es wurde nichts gelöscht."));
        return;
    }
    DataMaintenance::empty(m_state.db, m_state.ExeDir, group);
    m_changed = true;
    lblStatus->setText(QStringLiteral("\"%1\": die Tabellen sind geleert.").arg(DataMaintenance::caption(group)));
}
