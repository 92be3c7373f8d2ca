#pragma once

#include <QDate>
#include <QWidget>
#include <functional>

class QCheckBox;
class QDateEdit;
struct Document;

// The date of service on the invoice and credit-note pages: one date, or with "bis"
// ticked a period. While the user has not chosen another date it follows the
// document date.
class ServiceDateFields : public QWidget
{
    Q_OBJECT
public:
    explicit ServiceDateFields(QWidget *parent = nullptr);

    void showDocument(const Document &document);
    void readInto(Document &document) const;
    // The document date changed from what it was: a date of service equal to the
    // old document date moves with it.
    void documentDateChanged(const QDate &date);
    void setEditable(bool editable);

    QDateEdit *dtLeistung, *dtLeistungBis;
    QCheckBox *chkZeitraum;

Q_SIGNALS:
    void edited();

private:
    void setFilling(const std::function<void()> &change);

    QDate m_documentDate;
    bool m_filling = false;
    bool m_editable = true;
};
