#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// Only one copy of the program runs per user session: the first start holds a lock
// file in the user's runtime folder until it ends; a second start finds it taken.
class SingleInstance
{
public:
    SingleInstance();
    ~SingleInstance();
    // False when another running copy holds the lock.
    bool acquire();
    static QString lockPath();

private:
    std::unique_ptr<QLockFile> m_lock;
};
