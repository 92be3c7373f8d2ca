#pragma once

#include "WordExport.h"

#include <QToolBar>

class QComboBox;
class QToolButton;

// The word-processor band of the project window ("Wordtool"): the templates of the
// shown page's folder and the button that hands the page to the word processor.
class WordToolBand : public QToolBar
{
    Q_OBJECT
public:
    // homeDir: the folder that holds the template folders.
    explicit WordToolBand(const QString &homeDir, QWidget *parent = nullptr);

    // Fills the list from the page's folder and gives the button the page's hint.
    // The template chosen before stays chosen while the folder still holds it;
    // otherwise the first one is.
    void showPage(WordExportPage page);

    QString folderPath() const { return m_folder; }
    // The chosen template's file name; empty when the list is empty.
    QString templateName() const;

    QComboBox *cbVorlage;
    QToolButton *btnWord;

Q_SIGNALS:
    void exportRequested();

private:
    QString m_home;
    QString m_folder;
};
