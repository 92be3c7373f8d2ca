#pragma once

#include "Document.h"

#include <QDialog>

class AppState;
class NumberEdit;
class QLineEdit;
class QPushButton;

// "Rabatt": the discount of a document, kept as its last line. Works on a copy
// of the document; on closing, whichever way, the discount line is moved last
// and the totals are computed again, so the copy is ready for the page.
class TfrmRabatt : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmRabatt(AppState &state, QWidget *parent = nullptr);

    // The opening: the document to work on and the project's default discount
    // ("Rabatt Text / %" of the project page), offered when the document has no
    // discount line yet.
    void prepare(const Document &document, const QString &defaultText, const QString &defaultPercent);

    const Document &document() const { return m_doc; }
    // Set by the writing buttons: the page marks its document modified.
    bool changed() const { return m_changed; }

protected:
    void done(int result) override;

private:
    void textTyped();
    void enter();
    void change();
    void remove();
    void cancel();

    AppState &m_state;
    Document m_doc;
    bool m_changed = false;
    bool m_hasDiscount = false;

    QLineEdit *m_text;
    NumberEdit *m_percent;
    QPushButton *m_enter;
    QPushButton *m_change;
    QPushButton *m_remove;
};

// Shows "Rabatt" for the document and takes the result over; true when the
// user wrote something (the page then marks the document modified).
bool EditDiscount(AppState &state, Document &document, const QString &defaultText,
                  const QString &defaultPercent, QWidget *parent);
