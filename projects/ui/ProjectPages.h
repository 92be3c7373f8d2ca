#pragma once

#include "DocumentKind.h"

#include <QString>

class DocumentPage;
class DocumentStore;
class DunningPage;
class QWidget;

// What the print and take-over commands need of the project window: its pages and
// their store, which page is shown, and the e-invoice command. They use no more of
// the window than this.
class ProjectPages
{
public:
    // The pages in the order of their tabs.
    enum Page { ProjektPage = 0, AngebotPage, AuftragPage, LieferscheinPage, RechnungPage, GutschriftPage,
                MahnungPage, AblagePage, PageCount };

    virtual ~ProjectPages() = default;

    // The window itself: the parent of the commands' dialogs.
    virtual QWidget *pagesWindow() = 0;
    virtual int currentPage() const = 0;
    virtual void showPage(int page) = 0;
    virtual DocumentPage *documentPage(DocumentKind kind) const = 0;
    virtual DunningPage *dunningPage() const = 0;
    // The page shown at a tab index, and the index of a page.
    virtual QWidget *pageAt(int index) const = 0;
    virtual int indexOfPage(const QWidget *page) const = 0;
    virtual DocumentStore &documentStore() = 0;
    // "E-Rechnung speichern…"; with a path into that file without asking.
    virtual void cmdEInvoice(DocumentPage *page, const QString &path) = 0;
};
