#pragma once

#include "DocumentPage.h"
#include "ProjectFixtures.h"
#include "TestEnv.h"
#include "TfrmProjekt.h"
#include "TfrmProjektDetail.h"
#include "WindowHub.h"

#include <memory>

// A project window with the new-project window that fills it, as the program
// builds them, on a test data set with the contacts of ProjectFixtures.h.
class ProjectWindowFixture : public WindowHub
{
public:
    explicit ProjectWindowFixture(TestEnv &env) : m_env(env)
    {
        env.state().grantAll();
        env.state().hub = this;
        detail = std::make_unique<TfrmProjektDetail>(env.state());
        creator = std::make_unique<TfrmProjekt>(env.state());
    }
    ~ProjectWindowFixture() override { m_env.state().hub = nullptr; }

    // A new project for the contact, opened in the project window.
    void newProject(qint64 contact, bool company)
    {
        m_env.state().SelectedID = contact;
        m_env.state().CompaniesShown = company;
        creator->prepare();
        creator->createProject();
    }
    DocumentPage *page(DocumentKind kind) { return detail->documentPage(kind); }

    bool has(Window w) const override { return w == Window::Project; }
    void showProject(qint64 p, qint64 c, bool company, bool isNew) override { detail->openProject(p, c, company, isNew); }
    void enableProjectSearchButton(bool enabled) override { searchButton = enabled; }

    std::unique_ptr<TfrmProjektDetail> detail;
    std::unique_ptr<TfrmProjekt> creator;
    bool searchButton = true;

private:
    TestEnv &m_env;
};

// Puts an article line at the end of a page's lines as the line-item window
// does, then lets the page recompute.
inline void addArticle(DocumentPage *page, const QString &name, const QString &qty, const QString &price,
                       const QString &vat = QStringLiteral("19,00 %"))
{
    LineList &lines = page->document().lines;
    int row = lines.lineCount();
    if (!lines.cell(row, LineList::Bezeichnung).isEmpty())
        row = lines.appendRow();
    lines.setCell(row, LineList::Pos, QStringLiteral("1"));
    lines.setCell(row, LineList::ArtikelNr, QStringLiteral("A-") + QString::number(row));
    lines.setCell(row, LineList::Bezeichnung, name);
    lines.setCell(row, LineList::Anzahl, qty);
    lines.setCell(row, LineList::Einzelpreis, price);
    lines.setCell(row, LineList::MwSt, vat);
    page->documentChanged();
}
