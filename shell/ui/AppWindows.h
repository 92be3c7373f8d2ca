#pragma once

#include "WindowHub.h"

#include <functional>
#include <memory>

class AppState;
class TForm1;

// Every window of the program besides the main window, created once at start-up
// in a fixed order of groups, alive until the program ends. Windows open each
// other through this hub. A later window is added here and nowhere else.
class AppWindows : public WindowHub
{
public:
    AppWindows(AppState &state, TForm1 &main);
    ~AppWindows() override;

    // Creates the groups in order; progress receives the bar position after each.
    void createAll(const std::function<void(int percent)> &progress = {});
    static int groupCount();

    bool has(Window window) const override;
    void editNewContact(bool company) override;
    void editContact(qint64 contactNumber, bool company, bool editable) override;
    void showNewProject() override;
    void showProject(qint64 projectNumber, qint64 customer, bool company, bool isNew) override;
    void enableProjectSearchButton(bool enabled) override;
    void showOpenItems() override;
    void showBankStatements() override;
    void showReceivedInvoice(const QString &path) override;
    void showReceivedInvoices() override;
    void showDatevExport() override;
    void showFiledInvoice(qint64 id) override;
    void showOptions(int tab = 0) override;
    bool showProjectSearch() override;
    void showProjectSearchFrom(int page, qint64 projectNumber) override;
    void showBackup(bool fullDataSet) override;
    void showRestore() override;
    bool closeDataWindows() override;
    void showDataMaintenance() override;
    void showContactDetail(qint64 contactNumber) override;
    void closeContactDetail() override;
    void showUsers() override;
    void showChangePassword() override;
    void showCalendar() override;
    void showGame() override;

private:
    struct Impl;
    AppState &m_state;
    TForm1 &m_main;
    std::unique_ptr<Impl> d;
};
