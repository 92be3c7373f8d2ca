#pragma once

#include "ArticleStore.h"

#include <QDialog>

class AppState;
class NumberEdit;
class QComboBox;
class QLineEdit;
class QPushButton;
class TextLinesGrid;

// "Artikelverwaltung": one article of the catalogue, new or changed, with its
// additional text. Opened only from "Artikeldaten"; its save button writes the
// catalogue at once.
class TfrmArtikelKlein : public QDialog
{
    Q_OBJECT
public:
    enum class Mode { New, Change };

    explicit TfrmArtikelKlein(AppState &state, QWidget *parent = nullptr);

    // Mode new: the entry fields of "Artikeldaten" preset name, number, price,
    // VAT and the text lines.
    void prepareNew(const QString &name, const QString &number, const QString &price, const QString &vat,
                    const QStringList &texts);
    // Mode change: the article of the selected result row with its stored text
    // lines; vat is the VAT text of "Artikeldaten", shown when the row has none.
    void prepareChange(const ArticleRow &row, const QString &vat);

    Mode mode() const { return m_mode; }
    // The group of the last save; it presets the group field at the next opening.
    const QString &lastGroup() const { return m_lastGroup; }
    // The key of the article written by the last save (0 when nothing was written).
    qint64 writtenId() const { return m_writtenId; }

private:
    void open(Mode mode, const QString &vat);
    void save();
    // The catalogue write, mode new: false when the user declines because of a
    // similar article.
    bool insertArticle(const Article &article);

    AppState &m_state;
    ArticleStore m_store;
    Mode m_mode = Mode::New;
    qint64 m_id = 0;
    QString m_lastGroup;
    qint64 m_writtenId = 0;

    QLineEdit *m_name;
    QLineEdit *m_number;
    NumberEdit *m_price;
    QComboBox *m_vat;
    QComboBox *m_group;
    NumberEdit *m_stock;
    NumberEdit *m_minStock;
    TextLinesGrid *m_texts;
    QPushButton *m_save;
};
