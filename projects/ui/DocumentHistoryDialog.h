#pragma once

#include "DocumentHistory.h"

#include <QDialog>

class AppState;
class LineListModel;
class QLabel;
class QPlainTextEdit;
class QTableView;
class QTableWidget;
class TotalsListModel;

// "Verlauf": the kept versions of an issued invoice or credit note, the latest
// first, each shown read-only as it was (head, addresses, lines, totals, text).
class DocumentHistoryDialog : public QDialog
{
    Q_OBJECT
public:
    DocumentHistoryDialog(const QList<DocumentHistory::Version> &versions, DocumentKind kind, qint64 number,
                          QWidget *parent = nullptr);

    void showVersion(int row);

    QTableWidget *tblVersions;
    QLabel *lblHead;
    QTableView *tblLines, *tblTotals;
    QPlainTextEdit *memText;

private:
    QList<DocumentHistory::Version> m_versions;
    Document m_shown;
    LineListModel *m_lines;
    TotalsListModel *m_totals;
};

// Shows the versions of a document, or says that it has none.
void ShowDocumentHistory(AppState &state, DocumentKind kind, qint64 number, QWidget *parent);
