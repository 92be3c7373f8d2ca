#pragma once

#include "Document.h"

#include <QDialog>

class AppState;
class NumberEdit;
class QLineEdit;

// "Skonto": the cash discount of a document, a text and a percentage that are
// printed as a note and do not change the totals. Works on a copy of the
// document. A Skonto of 0 % or an empty "%" is no Skonto: the writing buttons
// then leave the document without a percentage.
class TfrmSconto : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSconto(AppState &state, QWidget *parent = nullptr);

    // The opening: the document's Skonto, or the project's default ("Skonto
    // Text / %" of the project page) when the document has neither text nor
    // percentage.
    void prepare(const Document &document, const QString &defaultText, const QString &defaultPercent);

    const Document &document() const { return m_doc; }
    bool changed() const { return m_changed; }
    // "<%> % <Text>. Entspricht xxx,xx €": the form of the printed note.
    static QString preview(const QString &percent, const QString &text);

private:
    void updatePreview();
    void enter();
    void remove();
    void cancel();
    // The closing rule of the writing buttons: a percentage that is not above 0
    // leaves the document without Skonto.
    void finish();

    AppState &m_state;
    Document m_doc;
    bool m_changed = false;

    QLineEdit *m_text;
    NumberEdit *m_percent;
    QLineEdit *m_preview;
};

// Shows "Skonto" for the document and takes the result over; true when the user
// wrote something. The page keeps the returned pair as its own Skonto as well.
bool EditSkonto(AppState &state, Document &document, const QString &defaultText, const QString &defaultPercent,
                QWidget *parent);
