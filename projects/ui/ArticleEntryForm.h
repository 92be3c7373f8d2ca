#pragma once

class ArticleListModel;
class Dialogs;
class NumberEdit;
class QComboBox;
class QDialog;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabBar;
class QTableView;
class QToolBar;
class TextLinesGrid;

// The controls of "Artikeldaten" and their layout: the group "Artikel" with the
// entry fields, the document's line list, its totals and commands, and the group
// "Artikelliste" with the catalogue search. The window wires them to its commands.
class ArticleEntryForm
{
protected:
    void buildForm(QDialog *window, Dialogs &dialogs);

    QLineEdit *m_name = nullptr;
    QLineEdit *m_number = nullptr;
    NumberEdit *m_quantity = nullptr;
    NumberEdit *m_price = nullptr;
    QComboBox *m_vat = nullptr;
    TextLinesGrid *m_texts = nullptr;
    QListWidget *m_lineList = nullptr;
    QLineEdit *m_net = nullptr;
    QLineEdit *m_gross = nullptr;
    QPushButton *m_enter = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_enterBoth = nullptr;
    QPushButton *m_enterCatalogue = nullptr;
    QPushButton *m_takeLine = nullptr;
    QPushButton *m_ok = nullptr;

    QTabBar *m_searchTabs = nullptr;
    QLineEdit *m_search = nullptr;
    QComboBox *m_groupFilter = nullptr;
    QTableView *m_results = nullptr;
    ArticleListModel *m_model = nullptr;
    QPushButton *m_copy = nullptr;
    QPushButton *m_deleteArticle = nullptr;
    QPushButton *m_changeArticle = nullptr;

    QToolBar *m_closeBar = nullptr;
};
