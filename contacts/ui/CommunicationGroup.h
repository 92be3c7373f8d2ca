#pragma once

#include "ContactTypes.h"

#include <QGroupBox>
#include <QList>

class GridModel;
class GridView;
class QAction;
class QMenu;

// The group "Kommunikationsdaten" of one editor tab: a grid of entries with a
// description and a content, and a pop-up menu that sets an entry's type.
class CommunicationGroup : public QGroupBox
{
    Q_OBJECT
public:
    // prefix ("Company", "Person") makes the object names unique per tab. On the
    // person tab the type can only be set on a row with description and content.
    CommunicationGroup(const QString &prefix, bool typeNeedsFullRow, QWidget *parent = nullptr);

    QList<ComRow> rows() const;
    // Shows a contact's entries with one empty row below; the first row is current.
    void showRows(const QList<ComRow> &rows);
    void clear();
    // canSave: the tab's "&Übernehmen" is enabled, which allows type changes.
    void setEditable(bool editable, bool canSave);

    // The type entries in menu order: T, M, F, E, I, N.
    static QString typeCodes();
    QAction *typeAction(QChar code) const;
    QMenu *typeMenu() const { return m_menu; }
    // A type entry was chosen for the current row: it toggles that type.
    void chooseType(QChar code);
    // What a double-click on a row does: while viewing, a web address is opened.
    void activateRow(int row);

    GridView *grid() const { return m_grid; }
    GridModel *model() const { return m_model; }

Q_SIGNALS:
    void changed();

private:
    void afterEdit(int row);
    void showTypeOf(int row);

    GridModel *m_model;
    GridView *m_grid;
    QMenu *m_menu;
    QList<QAction *> m_actions;
    bool m_typeNeedsFullRow;
    bool m_canSave = false;
};
