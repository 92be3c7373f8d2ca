// Opens the extended-data window or the contact detail view on a throw-away data
// set, so the windows can be looked at (under Xvfb, or grabbed offscreen into a
// PNG). Not a test: nothing is checked.
//   show_fipemehr company|person|edit|detail|detail-person [--grab out.png]

#include "ContactFixtures.h"
#include "ExtendedDataStore.h"
#include "ExtendedFixtures.h"
#include "TfrmFPDetail.h"
#include "TfrmFiPeMehr.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
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
    c.communications = {{"Telefon", "0711 4711-0", {}, "T"},
                        {"Fax", "0711 4711-99", {}, "F"},
                        {"E-Mail", "info@mueller-soehne.de", {}, "E"},
                        {"Internet", "www.mueller-soehne.de", {}, "I"}};
    store.insertCompany(c);
    PersonRecord eva = person(2, QStringLiteral("Eva"), QStringLiteral("Muster"));
    eva.position = QStringLiteral("Einkauf");
    eva.communications = {{"Handy", "0170 1234567", {}, "M"}};
    store.insertPerson(eva, 1);
    PersonRecord sean = person(3, QStringLiteral("Sean"), QStringLiteral("O'Neil"));
    sean.anrede = QStringLiteral("Herr");
    sean.titel.clear();
    store.insertPerson(sean, 1);
    prepareOpenItems(env);

    // a picture as a user would load it: a wide company logo
    QImage logo(600, 180, QImage::Format_RGB32);
    {
        QPainter p(&logo);
        QLinearGradient g(0, 0, 600, 0);
        g.setColorAt(0, QColor(20, 60, 140));
        g.setColorAt(1, QColor(90, 160, 220));
        p.fillRect(logo.rect(), g);
        p.setPen(Qt::white);
        QFont f = p.font();
        f.setPixelSize(64);
        f.setBold(true);
        p.setFont(f);
        p.drawText(logo.rect(), Qt::AlignCenter, QStringLiteral("M & S"));
    }
    ExtendedData d = typedTerms();
    d.image = ExtendedRules::PictureMarker;
    QImage area(350, 144, QImage::Format_RGB32);
    area.fill(Qt::white);
    {
        QPainter p(&area);
        p.drawImage(QRect(QPoint(0, 0), ExtendedRules::pictureTargetSize(logo.size())), logo);
    }
    ExtendedDataStore(env.state()).save(true, 1, d, &area);

    TfrmFiPeMehr mehr(env.state());
    TfrmFPDetail detail(env.state());
    QWidget *shown = &mehr;
    if (mode == QLatin1String("detail")) {
        detail.showContact(1);
        shown = &detail;
    } else if (mode == QLatin1String("detail-person")) {
        detail.showContact(2);
        shown = &detail;
    } else {
        mehr.prepare(mode != QLatin1String("person"), mode == QLatin1String("person") ? 2 : 1);
        mehr.show();
        if (mode == QLatin1String("edit")) {
            mehr.SetEditable(true);
        }
    }
    if (!grabFile.isEmpty()) {
        QTimer::singleShot(300, [&] {
            shown->grab().save(grabFile);
            app.quit();
        });
    }
    return app.exec();
}
