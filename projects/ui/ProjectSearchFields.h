#pragma once

#include "ProjectSearchStore.h"

#include <QAbstractTableModel>
#include <QGroupBox>
#include <optional>

class Dialogs;
class QComboBox;
class DateInput;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The group "&Suche" that the project search and "aus Vorgang übernehmen" share:
// companies or persons, the kind, customer and project number, project name,
// contact name and the period "Projekt erstellt". It checks what is typed and
// turns it into a search; the windows run the search.
class ProjectSearchFields : public QGroupBox
{
    Q_OBJECT
public:
    // The project search labels the period option "bis" and has a "Suchen"
    // button in it; the take-over window labels it "von".
    enum class Style { ProjectSearch, TakeOver };

    ProjectSearchFields(Dialogs &dialogs, Style style, QWidget *parent = nullptr);

    // The entries of "Vorgangsart": none stands for the projects themselves.
    void setKinds(const QList<std::optional<DocumentKind>> &kinds);
    QList<std::optional<DocumentKind>> kinds() const;
    std::optional<DocumentKind> kind() const;
    // Selects the entry of the kind; false when the list has none.
    bool selectKind(std::optional<DocumentKind> kind);
    static QString kindEntry(std::optional<DocumentKind> kind);

    bool persons() const;
    void setPersons(bool persons);

    // Fills both number lists (each entry the number padded as customer numbers
    // are shown) and empties their texts; an empty list is disabled with its label.
    void setNumberLists(const QList<qint64> &customers, const QList<qint64> &projects);
    void clearTexts();

    // What the fields ask for. Throws ConversionError for a number field that
    // holds no number. A period whose end lies before its start is corrected
    // first, with the warning.
    ProjectSearch criteria();

    QRadioButton *rbFirmen, *rbPersonen, *rbRange, *rbDay;
    QComboBox *cbVorgangsart, *cbKundennummer, *cbProjektnummer;
    QLineEdit *edtProjektname, *edtName;
    QLabel *lblKundennummer, *lblProjektnummer, *lblName;
    DateInput *dtVon, *dtBis, *dtAm;
    QLabel *lblZeitraum;
    QPushButton *btnSuchen = nullptr; // project search only

Q_SIGNALS:
    void kindChanged();
    void contactsChanged(); // "&Firmen" or "&Personen" chosen
    void numberChosen();    // a customer or project number chosen or typed
    void datesChanged();
    void searchRequested(); // Enter in a text field, "Suchen"

private:
    void numberEdited(QComboBox *field, QComboBox *other, const QString &message);
    void checkPeriod(DateInput *changed);
    QString periodText() const;
    void showPeriod();

    Dialogs &m_dialogs;
    Style m_style;
    bool m_filling = false;
};

// The result list of both search windows. The document number and the customer
// number follow the visible columns and are hidden by the views.
class ProjectSearchModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { ProjektNr, ProjektName, Vorgang, Datum, Kontakt, BelegNr, KNr, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void setRows(const QList<ProjectSearchRow> &rows);
    const QList<ProjectSearchRow> &rows() const { return m_rows; }
    // "Firmenname / Nachname", "Firmenname" or "Vorname - Nachname".
    void setContactHeading(const QString &heading);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // "Rechnung 000012"; a project reads "Projekt".
    static QString documentText(const ProjectSearchRow &row);

private:
    QList<ProjectSearchRow> m_rows;
    QString m_contactHeading = QStringLiteral("Firmenname / Nachname");
};
