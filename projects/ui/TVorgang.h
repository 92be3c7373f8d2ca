#pragma once

#include "Document.h"
#include "DocumentStore.h"
#include "ProjectSearchStore.h"

#include <QDialog>
#include <optional>

class AppState;
class LineListModel;
class ProjectSearchFields;
class ProjectSearchModel;
class QLabel;
class QPushButton;
class QTableView;

// "aus Vorgang übernehmen": finds a stored document of any project and kind,
// shows its lines, and hands it back to fill a new document. Reads only; the
// page that receives the document saves it when the user does. The search
// criteria stay from one showing to the next.
class TVorgang : public QDialog
{
    Q_OBJECT
public:
    explicit TVorgang(AppState &state, QWidget *parent = nullptr);

    // An opening for a new document of the kind: the kind is preselected, the
    // lists are filled and the search runs.
    void prepare(DocumentKind target);
    // The document chosen by "&Übernehmen" with its lines, Skonto and
    // additional text; nothing after "&Abbrechen".
    const std::optional<Document> &chosen() const { return m_chosen; }

    void search();
    void showDetails(int row);
    void takeOver();

    ProjectSearchFields *grpSuche;
    QTableView *tblResults, *tblDetails;
    QLabel *lblResult;
    QPushButton *btnUebernehmen, *btnAbbrechen;

private:
    void fillNumberLists();
    void kindChanged();

    AppState &m_state;
    ProjectSearchStore m_store;
    DocumentStore m_documents;
    ProjectSearchModel *m_results;
    Document m_details;
    LineListModel *m_detailModel;
    std::optional<Document> m_chosen;
};

// Shows the window modally for a new document of the kind (one window per
// parent, so it keeps the criteria) and returns the chosen document.
std::optional<Document> PickExistingDocument(AppState &state, DocumentKind target, QWidget *parent);
