#include "ContactListModel.h"

ContactListModel::ContactListModel(QObject *parent) : QAbstractTableModel(parent)
{
    m_rows.append(ContactRow{});
}

void ContactListModel::setRows(const QList<ContactRow> &rows)
{
    beginResetModel();
    m_rows = rows;
    if (m_rows.isEmpty())
        m_rows.append(ContactRow{});
    endResetModel();
}

void ContactListModel::clear()
{
    setRows({});
}

void ContactListModel::setSecondHeading(const QString &heading)
{
    m_secondHeading = heading;
    Q_EMIT headerDataChanged(Qt::Horizontal, Second, Second);
}

QString ContactListModel::cell(int r, Column c) const
{
    if (r < 0 || r >= m_rows.size())
        return QString();
    const ContactRow &row = m_rows.at(r);
    switch (c) {
    case Name: return row.name;
    case Second: return row.second;
    case Plz: return row.plz;
    case Ort: return row.ort;
    case Telefon: return row.telefon;
    case Id: return row.id;
    case Art: return row.art;
    case Strasse: return row.strasse;
    case ColumnCount: break;
    }
    return QString();
}

int ContactListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ContactListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ContactListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return cell(index.row(), Column(index.column()));
}

QVariant ContactListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Name: return QStringLiteral("Name");
    case Second: return m_secondHeading;
    case Plz: return QStringLiteral("PLZ");
    case Ort: return QStringLiteral("Ort");
    case Telefon: return QStringLiteral("Telefon");
    default: return QString();
    }
}
