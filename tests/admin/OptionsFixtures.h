#pragma once

#include "PrintSystem.h"
#include "TestEnv.h"
#include "TfrmOptionen.h"

#include <memory>

// Two printers that exist only here; "Tinte" is the default one.
class FakePrinters : public PrintSystem
{
public:
    QStringList installed{QStringLiteral("Laser Büro"), QStringLiteral("Tinte")};
    QStringList printers() const override { return installed; }
    QString defaultPrinter() const override { return QStringLiteral("Tinte"); }
};

// The options window on the fake printers, opened as the program opens it,
// for a user with every permission unless the test takes some away.
inline std::unique_ptr<TfrmOptionen> OpenOptions(TestEnv &env, bool allPermissions = true)
{
    if (allPermissions)
        env.state().grantAll();
    auto w = std::make_unique<TfrmOptionen>(env.state());
    w->setPrintSystem(std::make_unique<FakePrinters>());
    w->prepare();
    return w;
}
