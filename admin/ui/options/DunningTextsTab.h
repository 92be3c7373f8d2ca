#pragma once

#include "OptionsPage.h"

#include <QList>
#include <memory>

class AppState;
class QButtonGroup;
class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class TextTemplateStore;

// The tab "Mahntexte": the 25-line letter templates of the three dunning levels,
// with a preview in which the placeholders are filled with sample data.
class DunningTextsTab : public OptionsPage
{
    Q_OBJECT
public:
    explicit DunningTextsTab(AppState &state, QWidget *parent = nullptr);
    ~DunningTextsTab() override;

    // The template of the level chosen.
    void load() override;
    // "&Übernehmen": lines 1 … 25 of the editor into the level's rows. Refused when
    // a line beyond the 25th holds text; lines wider than the printed letter are
    // warned about and stored.
    bool save() override;
    bool canSave() const override { return m_allowed; }
    // Permission "Mahntexte".
    void applyPermissions(bool templates);
    // Each opening of the window starts at level 1.
    void resetLevel();
    int level() const { return m_level; }
    // A level button: asks before unsaved changes are dropped.
    void levelChosen(int level);

    QGroupBox *grpMahntexte;
    QList<QPushButton *> btnMahnung; // levels 1, 2, 3
    QPlainTextEdit *memVorlage, *memVorschau, *memHilfe1, *memHilfe2;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    void refreshPreview();
    void pressLevelButton(int level);

    AppState &m_state;
    std::unique_ptr<TextTemplateStore> m_store;
    QButtonGroup *m_levels = nullptr;
    int m_level = 1;
    bool m_allowed = true;
    bool m_loading = false;
};
