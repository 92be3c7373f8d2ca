#pragma once

#include <QWidget>

// One tab of the options window. The window asks it to load when it is entered,
// to save before it is left or when "&Übernehmen" / "&OK" is pressed, and whether
// it holds changes that are not saved yet.
class OptionsPage : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Shows the stored values and counts as saved.
    virtual void load() = 0;
    // Saves what the tab shows; false when a value was refused (with a message)
    // and the tab stays as it is.
    virtual bool save() { return true; }
    // Whether the user may change and save the tab (permissions).
    virtual bool canSave() const { return true; }
    bool isModified() const { return m_modified; }
    // Forgets the changes; the next load shows the stored values.
    void discard() { setModified(false); }

Q_SIGNALS:
    void modifiedChanged(bool modified);

protected:
    void setModified(bool modified)
    {
        if (modified == m_modified)
            return;
        m_modified = modified;
        Q_EMIT modifiedChanged(modified);
    }

private:
    bool m_modified = false;
};
