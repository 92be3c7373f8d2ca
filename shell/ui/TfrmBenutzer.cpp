#include "TfrmBenutzer.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "Dialogs.h"
#include "Icons.h"
#include "PasswordHash.h"
#include "Settings.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QKeyEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextBlock>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const char *const Captions[17] = {nullptr,
                                  "Personendaten lesend",
                                  "Personendaten schreibend",
                                  "erweiterte Personendaten lesend",
                                  "erweiterte Personendaten schreibend",
                                  "Projekte lesend",
                                  "Projekte schreibend",
                                  "Rechn. / Gutschr. / Mahn. lesend",
                                  "Rechn. / Gutschr. / Mahn. schreibend",
                                  "Optionen",
                                  "Allgemein",
                                  "Zusatztexte",
                                  "Mahntexte",
                                  "Firmendaten",
                                  "Benutzer anlegen / ändern",
                                  "Offene Rechnungen",
                                  "Mahnungen"};

QPushButton *button(const QString &caption, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TfrmBenutzer::TfrmBenutzer(AppState &state, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_state(state), m_store(state)
{
    setObjectName(QStringLiteral("TfrmBenutzer"));
    setWindowTitle(QStringLiteral("Benutzer"));
    buildUi();
    ResizeWithinScreen(this, QSize(620, 500));
}

void TfrmBenutzer::buildUi()
{
    auto *toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->setIconSize(QSize(20, 20));
    QAction *close = toolBar->addAction(ThemedIcon(QStringLiteral("window-close"), QStyle::SP_DialogCloseButton),
                                        QStringLiteral("Schließen"));
    close->setObjectName(QStringLiteral("actClose"));
    connect(close, &QAction::triggered, this, &QDialog::reject);
    toolBar->addSeparator();
    chkBenutzerverwaltung = new QCheckBox(QStringLiteral("Benutzerverwaltung verwenden"), toolBar);
    chkBenutzerverwaltung->setObjectName(QStringLiteral("chkBenutzerverwaltung"));
    chkBenutzerverwaltung->setToolTip(QStringLiteral("Beim Start nach Benutzername und Passwort fragen "
                                                     "(gilt für alle Benutzer dieses Rechners)"));
    toolBar->addWidget(chkBenutzerverwaltung);

    // Users, their password and description.
    auto *users = new QGroupBox(QStringLiteral("Benutzer"), this);
    users->setObjectName(QStringLiteral("grpBenutzer"));
    lstBenutzer = new QListWidget(users);
    lstBenutzer->setObjectName(QStringLiteral("lstBenutzer"));
    lstBenutzer->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                 | QAbstractItemView::AnyKeyPressed);
    lstBenutzer->setMinimumWidth(150);
    // An empty pair keeps the stored password.
    m_password = PasswordPairField(users, "edtPasswort", "edtPasswortWiederholen", QStringLiteral("unverändert"));
    edtPasswort = m_password.password();
    edtPasswortWiederholen = m_password.repetition();
    btnPasswortOK = button(QStringLiteral("O&K"), "btnPasswortOK", users);
    btnNeu = button(QStringLiteral("&Neuer Benutzer"), "btnNeu", users);
    btnNeu->setToolTip(QStringLiteral("Den Namen in die neue Zeile schreiben und mit der Eingabetaste bestätigen"));
    memBeschreibung = new QPlainTextEdit(users);
    memBeschreibung->setObjectName(QStringLiteral("memBeschreibung"));
    memBeschreibung->setTabChangesFocus(true);
    memBeschreibung->installEventFilter(this);
    memBeschreibung->setFixedHeight(memBeschreibung->fontMetrics().lineSpacing() * 2 + 14);
    auto *userGrid = new QGridLayout(users);
    userGrid->addWidget(lstBenutzer, 0, 0, 6, 1);
    userGrid->addWidget(btnNeu, 6, 0, Qt::AlignLeft);
    userGrid->addWidget(new QLabel(QStringLiteral("Passwort Vorgabe:"), users), 0, 1, 1, 2);
    userGrid->addWidget(edtPasswort, 1, 1);
    userGrid->addWidget(new QLabel(QStringLiteral("Passwort Vorgabe wiederholen:"), users), 2, 1, 1, 2);
    userGrid->addWidget(edtPasswortWiederholen, 3, 1);
    userGrid->addWidget(btnPasswortOK, 3, 2);
    userGrid->addWidget(new QLabel(QStringLiteral("kurze Beschreibung des Benutzers"), users), 4, 1, 1, 2);
    userGrid->addWidget(memBeschreibung, 5, 1, 1, 2, Qt::AlignTop);
    userGrid->setColumnStretch(0, 1);
    userGrid->setColumnStretch(1, 1);

    // The permissions on two pages; both groups carry the selected user's name.
    for (int n = 1; n <= 16; ++n) {
        chkPerm[std::size_t(n)] = new QCheckBox(QString::fromUtf8(Captions[n]), this);
        chkPerm[std::size_t(n)]->setObjectName(QStringLiteral("chkPerm%1").arg(n));
        connect(chkPerm[std::size_t(n)], &QCheckBox::clicked, this, [this, n](bool on) { boxClicked(n, on); });
    }
    tabRechte = new QTabWidget(this);
    tabRechte->setObjectName(QStringLiteral("tabRechte"));
    auto *general = new QWidget(tabRechte);
    grpAllgemein = new QGroupBox(general);
    grpAllgemein->setObjectName(QStringLiteral("grpAllgemein"));
    auto *generalGrid = new QGridLayout(grpAllgemein);
    for (int n = 1; n <= 8; ++n)
        generalGrid->addWidget(chkPerm[std::size_t(n)], (n - 1) / 2, (n - 1) % 2);
    auto *openItems = new QGroupBox(QStringLiteral("OP-Verwaltung"), grpAllgemein);
    openItems->setObjectName(QStringLiteral("grpOPVerwaltung"));
    auto *openItemsRow = new QHBoxLayout(openItems);
    openItemsRow->addWidget(chkPerm[15]);
    openItemsRow->addWidget(chkPerm[16]);
    openItemsRow->addStretch(1);
    generalGrid->addWidget(openItems, 4, 0, 1, 2);
    (new QVBoxLayout(general))->addWidget(grpAllgemein);
    tabRechte->addTab(general, QStringLiteral("allgemeine Rechte"));

    auto *options = new QWidget(tabRechte);
    grpOptionen = new QGroupBox(options);
    grpOptionen->setObjectName(QStringLiteral("grpOptionen"));
    auto *optionsGrid = new QGridLayout(grpOptionen);
    optionsGrid->addWidget(chkPerm[9], 0, 0);
    for (int n = 10; n <= 13; ++n)
        optionsGrid->addWidget(chkPerm[std::size_t(n)], 1 + (n - 10) / 2, (n - 10) % 2);
    optionsGrid->addWidget(chkPerm[14], 3, 0);
    optionsGrid->setRowStretch(4, 1);
    (new QVBoxLayout(options))->addWidget(grpOptionen);
    tabRechte->addTab(options, QStringLiteral("Rechte Optionen"));

    // The principal user's place of the permissions, the same size so nothing moves.
    lblAlleRechte = new QLabel(QStringLiteral("Alle Rechte"), this);
    lblAlleRechte->setObjectName(QStringLiteral("lblAlleRechte"));
    lblAlleRechte->setAlignment(Qt::AlignCenter);
    lblAlleRechte->setFrameShape(QFrame::StyledPanel);
    m_rights = new QStackedWidget(this);
    m_rights->addWidget(tabRechte);
    m_rights->addWidget(lblAlleRechte);
    m_rights->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);

    btnOK = button(QStringLiteral("&OK"), "btnOK", this);
    btnUebernehmen = button(QStringLiteral("&Übernehmen"), "btnUebernehmen", this);
    btnAbbrechen = button(QStringLiteral("Abbrechen / &Beenden"), "btnAbbrechen", this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *b : {btnOK, btnUebernehmen, btnAbbrechen})
        buttons->addWidget(b);

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(toolBar);
    layout->addWidget(users, 1);
    layout->addWidget(m_rights);
    layout->addLayout(buttons);

    Dialogs &d = m_state.dialogs;
    connect(lstBenutzer, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *now, QListWidgetItem *before) {
        if (m_filling)
            return;
        RunCommand(m_state.dialogs, [this, now, before] {
            // a password typed for the user left without "O&K" stays with that user
            takeTypedPassword(lstBenutzer->row(before), false);
            selectRow(lstBenutzer->row(now));
        });
    });
    connect(lstBenutzer, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        if (!m_filling)
            nameEdited(lstBenutzer->row(item));
    });
    connect(memBeschreibung, &QPlainTextEdit::textChanged, this, [this] { descriptionChanged(); });
    connect(btnPasswortOK, &QPushButton::clicked, this, Guarded(d, [this] { cmdSetPassword(); }));
    connect(btnNeu, &QPushButton::clicked, this, [this] { cmdNewUser(); });
    connect(btnUebernehmen, &QPushButton::clicked, this, Guarded(d, [this] { cmdSave(); }));
    connect(btnOK, &QPushButton::clicked, this, Guarded(d, [this] {
        if (cmdSave())
            accept();
    }));
    connect(btnAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmBenutzer::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    RunCommand(m_state.dialogs, [this] {
        refresh();
        selectRow(0);
    });
}

int TfrmBenutzer::current() const
{
    const int row = lstBenutzer->currentRow();
    return row >= 0 && row < m_rows.size() ? row : -1;
}

void TfrmBenutzer::refresh()
{
    const int before = std::max(current(), 0);
    chkBenutzerverwaltung->setChecked(ReadIfLogin());
    m_boxes = PermissionBoxes();
    showBoxes();
    tabRechte->setCurrentIndex(0);

    m_store.ensurePrincipal();
    m_rows.clear();
    for (const UserRecord &u : m_store.loadAll())
        m_rows << Row{u, u.name, std::nullopt};
    m_filling = true;
    lstBenutzer->clear();
    for (const Row &r : m_rows) {
        auto *item = new QListWidgetItem(r.user.name, lstBenutzer);
        // the principal user keeps its name
        if (lstBenutzer->count() > 1)
            item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    m_filling = false;
    appendEmptyRow();
    selectRow(std::min(before, int(m_rows.size()) - 1));
}

void TfrmBenutzer::appendEmptyRow()
{
    m_rows << Row{};
    m_filling = true;
    auto *item = new QListWidgetItem(QString(), lstBenutzer);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    m_filling = false;
}

// The empty last row is where a new user is named; the button leads there.
void TfrmBenutzer::cmdNewUser()
{
    const int last = int(m_rows.size()) - 1;
    selectRow(last);
    lstBenutzer->setFocus();
    lstBenutzer->editItem(lstBenutzer->item(last));
}

void TfrmBenutzer::selectRow(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    if (lstBenutzer->currentRow() != row) {
        const QSignalBlocker block(lstBenutzer);
        lstBenutzer->setCurrentRow(row);
    }
    const bool principal = row == 0;
    m_rights->setCurrentWidget(principal ? static_cast<QWidget *>(lblAlleRechte) : tabRechte);
    if (!principal) {
        // Loading runs the rules, so a permission without the one it builds on is dropped.
        m_boxes = PermissionBoxes::of(m_rows[row].user.perms);
        m_rows[row].user.perms = m_boxes.perms();
        showBoxes();
    }
    m_password.clear();
    const QString name = m_rows[row].user.name;
    grpAllgemein->setTitle(name);
    grpOptionen->setTitle(name);
    m_description = m_rows[row].user.besch;
    const QSignalBlocker block(memBeschreibung);
    memBeschreibung->setPlainText(m_description);
}

void TfrmBenutzer::showBoxes()
{
    for (int n = 1; n <= 16; ++n) {
        chkPerm[std::size_t(n)]->setChecked(m_boxes.checked(n));
        chkPerm[std::size_t(n)]->setEnabled(m_boxes.enabled(n));
    }
}

void TfrmBenutzer::boxClicked(int n, bool on)
{
    const int row = current();
    if (row <= 0)
        return;
    m_boxes.set(n, on);
    m_rows[row].user.perms = m_boxes.perms();
    showBoxes();
}

void TfrmBenutzer::nameEdited(int row)
{
    if (row <= 0 || row >= m_rows.size())
        return;
    const QString name = lstBenutzer->item(row)->text();
    m_rows[row].user.name = name;
    if (row == current()) {
        grpAllgemein->setTitle(name);
        grpOptionen->setTitle(name);
    }
    // a name in the empty last row makes room for the next new user
    if (row == m_rows.size() - 1 && !name.trimmed().isEmpty())
        appendEmptyRow();
}

bool TfrmBenutzer::eventFilter(QObject *watched, QEvent *event)
{
    // On the third line every key but backspace is refused, so the description
    // keeps two lines; moving on with Tab stays possible.
    if (watched == memBeschreibung && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (memBeschreibung->textCursor().blockNumber() >= 2 && key != Qt::Key_Backspace && key != Qt::Key_Tab
            && key != Qt::Key_Backtab)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmBenutzer::descriptionChanged()
{
    const int row = current();
    if (row < 0)
        return;
    // at most two lines: what reaches a third one (a paste) is taken back; an
    // empty third line is where the caret stands after the second line break
    const QTextDocument *text = memBeschreibung->document();
    if (text->blockCount() > 3 || (text->blockCount() == 3 && !text->lastBlock().text().isEmpty())) {
        const QSignalBlocker block(memBeschreibung);
        memBeschreibung->setPlainText(m_description);
        memBeschreibung->moveCursor(QTextCursor::End);
        return;
    }
    m_description = memBeschreibung->toPlainText();
    m_rows[row].user.besch = m_description;
}

bool TfrmBenutzer::takeTypedPassword(int row, bool tell)
{
    if (row < 0 || row >= m_rows.size() || m_password.isEmpty())
        return true;
    if (!m_password.checkMatches(m_state.dialogs))
        return false;
    m_rows[row].newPassword = m_password.text();
    m_password.clear();
    if (tell)
        PasswordPairField::tellEntered(m_state.dialogs);
    return true;
}

void TfrmBenutzer::cmdSetPassword()
{
    if (!m_password.checkTyped(m_state.dialogs))
        return;
    takeTypedPassword(current(), true);
}

bool TfrmBenutzer::cmdSave()
{
    Dialogs &d = m_state.dialogs;
    if (!m_state.isAdminAccount()) {
        d.error(QStringLiteral("Erforderliche Rechte fehlen!"));
        return false;
    }
    // A password typed without "O&K" is not lost.
    if (!takeTypedPassword(current(), false))
        return false;
    QStringList deleted;
    for (const Row &r : m_rows)
        if (r.user.idu > 0 && r.user.name.trimmed().isEmpty())
            deleted << QStringLiteral("„%1“").arg(r.loadedName);
    if (!deleted.isEmpty()
        && d.question(QStringLiteral("Der Name ist leer. Soll %1 %2 gelöscht werden?")
                          .arg(deleted.size() == 1 ? QStringLiteral("der Benutzer") : QStringLiteral("die Benutzer"),
                               deleted.join(QStringLiteral(", "))),
                      Dialogs::Buttons::YesNo)
               != Dialogs::Answer::Yes)
        return false;

    QList<UserRecord> rows;
    for (const Row &r : m_rows) {
        UserRecord u = r.user;
        if (r.newPassword)
            u.newHash = PasswordHash::make(*r.newPassword);
        rows << u;
    }
    try {
        m_store.save(rows);
    } catch (const UserRuleError &e) {
        d.warning(e.message());
        return false;
    }
    // Switching the log-in on needs a password for a user who administers users;
    // the users are stored, the switch stays off until there is one.
    const bool switchOn = chkBenutzerverwaltung->isChecked() && !ReadIfLogin();
    if (switchOn) {
        if (const QString refusal = m_store.loginSwitchRefusal(m_store.loadAll()); !refusal.isEmpty()) {
            d.warning(refusal);
            refresh();
            chkBenutzerverwaltung->setChecked(true); // still wanted, once the password is there
            return false;
        }
    }
    // The switch is written only when it changes: it needs the machine's own rights.
    if (chkBenutzerverwaltung->isChecked() != ReadIfLogin() && !WriteIfLogin(chkBenutzerverwaltung->isChecked()))
        d.warning(QStringLiteral("Fehler beim schreiben der Logindaten!"));
    refresh();
    return true;
}
