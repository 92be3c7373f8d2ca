// Opens the contact editor or the assignment window on a throw-away data set,
// so the windows can be looked at (under Xvfb, or grabbed offscreen into a PNG).
// Not a test: nothing is checked.
//   show_fipe company|person|new|assign [--grab out.png]

#include "ContactFixtures.h"
#include "TfrmFiPe.h"
#include "TfrmFirmaPersonZuordnen.h"

#include <QApplication>
#include <QTabWidget>
#include <QTimer>

using namespace Fixtures;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString mode = args.value(1, QStringLiteral("company"));
    const int grabAt = int(args.indexOf(QStringLiteral("--grab")));
    const QString grabFile = grabAt > 0 ? args.value(grabAt + 1) : QString();

    TestEnv env;
    env.state().grantAll();
    ContactStore store(env.state());
    CompanyRecord c = company(1, QStringLiteral("Müller & Söhne Maschinenbau GmbH"));
    c.addresses = {{"Lager", "Hafenweg 3", "70327", "Stuttgart", "Deutschland", {}},
                   {"Rechnungsanschrift", "Postfach 10 20 30", "70020", "Stuttgart", "Deutschland", {}}};
    c.communications = {{"Telefon", "0711 4711-0", {}, "T"},
                        {"Fax", "0711 4711-99", {}, "F"},
                        {"E-Mail", "info@mueller-soehne.de", {}, "E"},
                        {"Internet", "www.mueller-soehne.de", {}, "I"}};
    store.insertCompany(c);
    PersonRecord eva = person(2, QStringLiteral("Eva"), QStringLiteral("Muster"));
    eva.position = QStringLiteral("Einkauf");
    eva.communications = {{"Handy", "0170 1234567", {}, "M"}};
    store.insertPerson(eva, 1);
    store.insertPerson(person(3, QStringLiteral("Sean"), QStringLiteral("O'Neil")), 1);
    store.insertPerson(person(4, QStringLiteral("Jürgen"), QStringLiteral("Weiß")));
    store.insertCompany(company(5, QStringLiteral("D'Angelo GmbH")));

    TfrmFiPe dlg(env.state());
    QWidget *shown = &dlg;
    if (mode == QLatin1String("person")) {
        dlg.prepareShow(2, false, true);
        dlg.show();
    } else if (mode == QLatin1String("new")) {
        dlg.prepareNew(true);
        dlg.show();
    } else if (mode == QLatin1String("assign")) {
        dlg.prepareShow(4, false, true);
        dlg.show();
        dlg.LinkCompany();
        shown = dlg.assignWindow();
    } else if (mode == QLatin1String("persons")) {
        dlg.prepareShow(1, true, true);
        dlg.show();
        dlg.LinkPerson();
        shown = dlg.assignWindow();
    } else {
        dlg.prepareShow(1, true, false);
        dlg.show();
    }
    if (!grabFile.isEmpty()) {
        QTimer::singleShot(300, [&] {
            shown->grab().save(grabFile);
            app.quit();
        });
    }
    return app.exec();
}
