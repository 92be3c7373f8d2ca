#pragma once

#include <QString>

// Facts about the machine the program runs on.

// Name of the running operating system ("Debian GNU/Linux 12 (bookworm)").
QString SystemVersionName();
// True when the Linux account may administer the machine: root, or a member of the
// groups sudo, wheel or admin. Any failure gives false.
bool IsAdminAccount();
