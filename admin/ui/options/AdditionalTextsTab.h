#pragma once

#include "OptionsPage.h"

#include <QList>
#include <memory>

class AppState;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QTabBar;
class TextTemplateStore;

// The tab "Zusatztexte": the four additional text lines, each with its style,
// that new documents of each kind start with (ztext), and the text of the
// e-mails that send documents.
class AdditionalTextsTab : public OptionsPage
{
    Q_OBJECT
public:
    static constexpr int Lines = 4;

    explicit AdditionalTextsTab(AppState &state, QWidget *parent = nullptr);
    ~AdditionalTextsTab() override;

    // The lines of the kind chosen.
    void load() override;
    // "&Übernehmen": the lines of the kind shown.
    bool save() override;
    bool canSave() const override { return m_allowed; }
    // Permission "Zusatztexte".
    void applyPermissions(bool texts);
    // Before another kind is shown or the tab is left: changed lines are saved or
    // dropped as the user answers.
    void confirmLeave();

    QTabBar *tabsArt;
    QGroupBox *grpZusatztexte;
    QList<QLineEdit *> edtZeile;
    QList<QCheckBox *> chkBold, chkItalic;
    QGroupBox *grpMail;
    QPlainTextEdit *edtMailText;

private:
    void buildUi();
    void kindChosen(int index);
    QString kindLetter() const;

    AppState &m_state;
    std::unique_ptr<TextTemplateStore> m_store;
    int m_kind = 0; // the kind whose lines are shown
    bool m_allowed = true;
    bool m_loading = false;
};
