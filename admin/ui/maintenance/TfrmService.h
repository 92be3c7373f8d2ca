#pragma once

#include "DataMaintenance.h"

#include <QDialog>
#include <array>

class AppState;
class QLabel;
class QPushButton;

// The hidden service window "frmService": one button per group of tables. Each
// asks first, naming the tables and their rows, and empties its group in one
// transaction. Made anew each time the main window opens it.
class TfrmService : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmService(AppState &state, QWidget *parent = nullptr);

    void cmdEmpty(DataMaintenance::Group group);
    // True once a group has been emptied (the main window then reloads its list).
    bool changed() const { return m_changed; }

    std::array<QPushButton *, DataMaintenance::GroupCount> btnGroup{};
    QPushButton *btnSchliessen;
    QLabel *lblStatus;

private:
    AppState &m_state;
    bool m_changed = false;
};
