// Opens the window "Kontoauszug" on a throw-away data set with the sample
// statement, so it can be looked at (under Xvfb). Not a test: nothing is checked.
//   show_kontoauszug
#include "ReceivablesFixtures.h"
#include "TfrmKontoauszug.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestEnv env;
    AddReceivablesCustomers(env);
    AddInvoice(env, 123, 1, "1234.56", 10, "N", "1234.56");
    AddInvoice(env, 124, 2, "600", 10, "N", "600");
    AddInvoice(env, 126, 1, "310", 10, "N", "310", "2");
    AddInvoice(env, 127, 2, "777", 10, "N", "777");
    env.exec("UPDATE firmendaten SET IBAN = 'DE89370400440532013000' WHERE Firma = 1");
    env.state().Perm[15] = true;
    auto *w = new TfrmKontoauszug(env.state());
    w->show();
    w->load({QStringLiteral(BANK_SAMPLES "/camt053_v02.xml")});
    return app.exec();
}
