#pragma once

#include <QLockFile>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;

// Only one copy of the program runs per user session: the first start holds a lock
// file in the user's runtime folder until it ends and listens on a local socket
// beside it. A second start finds the lock taken, asks the running copy to bring
// its window to the front and ends.
class SingleInstance
{
public:
    SingleInstance();
    ~SingleInstance();
    // False when another running copy holds the lock.
    bool acquire();
    // The running copy's answer to a second start; call after acquire() succeeded.
    void onActivationRequest(std::function<void()> handler);
    // From a second start: asks the running copy to come to the front. True when it
    // confirmed within the timeout. Blocks; needs no event loop.
    static bool notifyRunning(int timeoutMs = 3000);
    static QString lockPath();
    static QString socketPath();

private:
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLocalServer> m_server;
    std::function<void()> m_handler;
};
