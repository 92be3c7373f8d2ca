#pragma once

#include "ArticleEntryForm.h"
#include "ArticleStore.h"
#include "Document.h"

#include <QDialog>
#include <functional>

class AppState;
class ArticleListModel;
class NumberEdit;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabBar;
class QTableView;
class TextLinesGrid;
class TfrmArtikelKlein;

// "Artikeldaten": enters, changes and deletes the article lines of a document
// and searches, copies and maintains the article catalogue. Works on a copy of
// the document; the catalogue is written at once. On closing, whichever way,
// the lines are normalised, the discount line is moved last and the totals are
// computed again, so the copy is ready for the page.
//
// The window keeps its last search and the group last saved in
// "Artikelverwaltung" from one showing to the next; EditArticles keeps one
// window per parent for that.
class TfrmArtikelEintragen : public QDialog, private ArticleEntryForm
{
    Q_OBJECT
public:
    // E: "&Übernehmen" appends a line; A: it replaces the line taken over from
    // "Vorgangsliste:".
    enum class Mode { Entry, Change };

    explicit TfrmArtikelEintragen(AppState &state, QWidget *parent = nullptr);
    ~TfrmArtikelEintragen() override;

    // The opening: the document whose lines are edited and the project's
    // default VAT text ("USt-Satz" of the project page).
    void prepare(const Document &document, const QString &projectVat);

    const Document &document() const { return m_doc; }
    // Set by every command that may have changed the lines: the page then marks
    // its document modified.
    bool changed() const { return m_changed; }
    Mode mode() const { return m_mode; }

    // How "Artikelverwaltung" is shown and waited for; modally by default.
    // Tests drive it in place.
    void setCatalogueRunner(std::function<void(TfrmArtikelKlein &)> runner);

    // The catalogue search with the search field, tab and group filter.
    void search();

protected:
    void done(int result) override;

private:
    void fillGroupFilter();
    void fillLineList();
    void showTotals();
    void clearEntry();
    void updateEntryButtons();
    void entryTyped(bool setsTypedFlag);
    void resultClicked(int row);

    // The commands of the entry group.
    bool enterLine();
    void takeFromLineList();
    void deleteLine();
    void enterIntoCatalogue();
    void enterIntoDocumentAndCatalogue();
    void ok();
    // The commands of the result list.
    void copyArticle();
    void changeArticle();
    void deleteArticle();
    void runCatalogue();

    int selectedResult() const;
    ArticleLine entryLine() const;
    // Normalise, discount last and totals, as after every change of the lines.
    void recompute();

    AppState &m_state;
    ArticleStore m_store;
    Document m_doc;
    QString m_currency;
    Mode m_mode = Mode::Entry;
    QString m_position; // of the line taken over for a change
    bool m_typed = false;
    bool m_changed = false;
    std::function<void(TfrmArtikelKlein &)> m_runCatalogue;

    TfrmArtikelKlein *m_catalogue;
};

// Shows "Artikeldaten" for the document and takes the result over; true when
// the lines may have changed (the page then marks the document modified and
// enables its commands by whether the list has a first position). The window is
// kept as a child of parent for the next call.
bool EditArticles(AppState &state, Document &document, const QString &projectVat, QWidget *parent);
