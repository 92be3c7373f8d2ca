#pragma once

#include <QtGlobal>

// Lets one window open another without knowing its class: the program's window
// list implements it, windows call it through AppState::hub. Every operation does
// nothing by default, so a window that is not built yet is simply not opened.
class WindowHub
{
public:
    virtual ~WindowHub() = default;

    // Read-only detail view of a company or person.
    virtual void showContactDetail(qint64 contactNumber) { Q_UNUSED(contactNumber); }
    // The project window for a stored project.
    virtual void showProject(qint64 projectNumber) { Q_UNUSED(projectNumber); }
    // The options window, modally.
    virtual void showOptions() {}
};
