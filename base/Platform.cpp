#include "Platform.h"

#include <QSysInfo>

#include <grp.h>
#include <unistd.h>
#include <vector>

QString SystemVersionName()
{
    const QString name = QSysInfo::prettyProductName();
    return name.isEmpty() ? QStringLiteral("Unbekannte Version") : name;
}

bool IsAdminAccount()
{
    if (geteuid() == 0)
        return true;
    const int n = getgroups(0, nullptr);
    if (n < 0)
        return false;
    std::vector<gid_t> groups(std::size_t(n) + 1);
    const int got = getgroups(n, groups.data());
    if (got < 0)
        return false;
    groups.resize(std::size_t(got));
    groups.push_back(getegid());
    for (gid_t gid : groups) {
        const group *g = getgrgid(gid);
        if (!g || !g->gr_name)
            continue;
        const QByteArray name(g->gr_name);
        if (name == "sudo" || name == "wheel" || name == "admin")
            return true;
    }
    return false;
}
