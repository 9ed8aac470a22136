// One client per user and display. The first start listens on a local socket in the user's
// runtime folder; a later start hands its command line to it and ends.
#pragma once

#include <QStringList>
#include <functional>

class QLocalServer;

namespace zv {

class SingleInstance {
public:
    SingleInstance();
    ~SingleInstance();
    // True when this start is the first: it now listens, and each later start's arguments
    // reach onArguments. False when a running client took the arguments. A socket left by a
    // client that crashed is taken over.
    bool Claim(const QStringList& arguments, std::function<void(const QStringList&)> onArguments);
    // The socket's path for this user and display; empty when no safe folder can be had.
    static QString SocketPath();

private:
    void Receive();
    QLocalServer* server_ = nullptr;
    std::function<void(const QStringList&)> onArguments_;
};

} // namespace zv
