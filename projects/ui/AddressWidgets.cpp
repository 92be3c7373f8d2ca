#include "AddressWidgets.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>

ProjectAddressGroup::ProjectAddressGroup(const QString &title, const QString &prefix, QWidget *parent) : QGroupBox(title, parent)
{
    setObjectName(QStringLiteral("grp") + prefix);
    auto *g = new QGridLayout(this);
    const auto field = [&](const QString &name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QStringLiteral("edt") + prefix + name);
        connect(e, &QLineEdit::textEdited, this, &ProjectAddressGroup::edited);
        return e;
    };
    edtBez = field(QStringLiteral("Bez"));
    edtStrasse = field(QStringLiteral("Strasse"));
    edtPlz = field(QStringLiteral("Plz"));
    edtOrt = field(QStringLiteral("Ort"));
    edtLand = field(QStringLiteral("Land"));
    edtPlz->setMaximumWidth(70);
    g->addWidget(new QLabel(QStringLiteral("Bezeichnung"), this), 0, 0);
    g->addWidget(edtBez, 0, 1, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("Straße"), this), 1, 0);
    g->addWidget(edtStrasse, 1, 1, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("PLZ / Ort"), this), 2, 0);
    g->addWidget(edtPlz, 2, 1);
    g->addWidget(edtOrt, 2, 2);
    g->addWidget(new QLabel(QStringLiteral("Land"), this), 3, 0);
    g->addWidget(edtLand, 3, 1, 1, 2);
    g->setColumnStretch(2, 1);
}

AddressFields ProjectAddressGroup::value() const
{
    return {edtBez->text(), edtStrasse->text(), edtPlz->text(), edtOrt->text(), edtLand->text()};
}

void ProjectAddressGroup::setValue(const AddressFields &a)
{
    edtBez->setText(a.bez);
    edtStrasse->setText(a.strasse);
    edtPlz->setText(a.plz);
    edtOrt->setText(a.ort);
    edtLand->setText(a.land);
}

void ProjectAddressGroup::setReadOnly(bool readOnly)
{
    for (QLineEdit *e : {edtBez, edtStrasse, edtPlz, edtOrt, edtLand})
        e->setReadOnly(readOnly);
}

ProjectAddressList::ProjectAddressList(QWidget *parent) : QTreeWidget(parent)
{
    setColumnCount(4);
    setHeaderLabels({QStringLiteral("Bezeichnung"), QStringLiteral("Straße"), QStringLiteral("Ort"), QString()});
    setColumnHidden(3, true);
    setColumnWidth(0, 90);
    setColumnWidth(1, 164);
    setColumnWidth(2, 140);
    setRootIsDecorated(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setMouseTracking(true);
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        const qint64 ida = idaOf(item);
        if (ida > 0)
            Q_EMIT picked(ida);
    });
    connect(this, &QTreeWidget::itemEntered, this, [this](QTreeWidgetItem *item, int column) {
        setToolTip(item ? item->text(column) : QString());
    });
    setRows({});
}

void ProjectAddressList::setRows(const QList<AddressListRow> &rows)
{
    clear();
    for (const AddressListRow &r : rows)
        addTopLevelItem(new QTreeWidgetItem(QStringList{r.art, r.strasse, r.ort, r.ida}));
    if (rows.isEmpty())
        addTopLevelItem(new QTreeWidgetItem(QStringList{QString(), QString(), QString(), QString()}));
}

qint64 ProjectAddressList::idaOf(QTreeWidgetItem *item) const
{
    return item ? item->text(3).toLongLong() : 0;
}
