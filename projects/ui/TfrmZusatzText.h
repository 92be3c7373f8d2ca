#pragma once

#include "Document.h"

#include <QDialog>
#include <array>

class AppState;
class QCheckBox;
class QComboBox;
class QLineEdit;

// "ZusatzText": the four additional-text lines of a document with their bold
// ("F") and italic ("K") marks. A document without any text is offered the
// template of its kind from the ztext table; the drop-down list loads another.
// Works on a copy of the document.
class TfrmZusatzText : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmZusatzText(AppState &state, QWidget *parent = nullptr);

    // The opening for the document; its kind gives the template letter.
    void prepare(const Document &document);

    const Document &document() const { return m_doc; }
    bool changed() const { return m_changed; }

private:
    void loadTemplate(int entry);
    void setLine(int line, const AdditionalTextLine &text, bool keepUnknownMarks);
    void enter();
    void cancel();

    AppState &m_state;
    Document m_doc;
    bool m_changed = false;
    bool m_preparing = false;

    QComboBox *m_template;
    std::array<QLineEdit *, Document::TextLineCount> m_lines{};
    std::array<QCheckBox *, Document::TextLineCount> m_bold{};
    std::array<QCheckBox *, Document::TextLineCount> m_italic{};
};

// Shows "ZusatzText" for the document and takes the result over; true when the
// user wrote the lines (the page then shows them in its text box).
bool EditAdditionalText(AppState &state, Document &document, QWidget *parent);
