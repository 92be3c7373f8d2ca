#pragma once

#include "ProjectSearchStore.h"

#include <QWidget>
#include <optional>

class AppState;
class ProjectSearchFields;
class ProjectSearchModel;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class TfrmProjektDetail;

// "Projekt Suche": finds projects, or the documents of one kind, and opens the
// chosen one in the project window. Lives for the whole run and is shown
// modelessly; it keeps its criteria from one showing to the next.
class TfrmProjektSuche : public QWidget
{
    Q_OBJECT
public:
    TfrmProjektSuche(AppState &state, TfrmProjektDetail *projectWindow, QWidget *parent = nullptr);

    // The hand-over before showing. From the main window: no page (the kind
    // stays) and no current project. From the project window: its shown page
    // (0 project, 1 quotation ... 6 dunning letter, 7 working document)
    // preselects the kind, and its project is the current one.
    void prepare(std::optional<int> page, qint64 currentProject);

    void search();
    void showDetail(int row);
    // "&OK": opens the project or document of the selected row in the project window.
    void openSelected();

    ProjectSearchFields *grpSuche;
    QTableView *tblResults;
    QLineEdit *edtAnrede, *edtTitel, *edtVorname, *edtNachname, *edtProjektNr, *edtDatum, *edtProjektname,
        *edtKundenNr, *edtVorgangsNr;
    QPlainTextEdit *memBemerkung;
    QLabel *lblAnredeTitel, *lblVorname, *lblNachname;
    QPushButton *btnSuchen, *btnOK, *btnAbbrechen;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildUi();
    void fillKinds();
    void fillNumberLists();
    void contactsChanged();
    void clearDetail();
    // false when the user keeps the unsaved documents of the project window.
    bool mayOpen(const ProjectSearchRow &row);

    AppState &m_state;
    TfrmProjektDetail *m_projectWindow;
    ProjectSearchStore m_store;
    ProjectSearchModel *m_results;
    qint64 m_currentProject = 0;
    bool m_opened = false;
};
