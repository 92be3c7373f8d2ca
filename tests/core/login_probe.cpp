// Started by the settings test: tells whether a program on this machine asks for a
// log-in, with the machine's settings file at the place given and whatever
// environment the test starts it with.
#include "Settings.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1)
        SetMachineSettingsFileForTests(QString::fromLocal8Bit(argv[1]));
    std::puts(ReadIfLogin() ? "Anmeldung" : "keine Anmeldung");
    return 0;
}
