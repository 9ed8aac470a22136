// The keyring module, loaded when a remembered password is first read or written: the
// desktop's Secret Service (GNOME Keyring, KWallet) through QtKeychain. Each call waits at most
// the given time; user input waits meanwhile, so no handler runs inside it.
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QEventLoop>
#include <QTimer>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <qt6keychain/keychain.h>

namespace {

enum Result { kDone = 0, kNotFound = 1, kNoKeyring = 2 };

// A keyring is on the session bus, or the bus can start one.
bool KeyringOnBus(int timeoutMs) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    const QStringList names = {QStringLiteral("org.freedesktop.secrets"), QStringLiteral("org.kde.kwalletd6"),
                               QStringLiteral("org.kde.kwalletd5")};
    auto ask = [&](const char* method, const QVariantList& args) {
        QDBusMessage m = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                        QStringLiteral("/org/freedesktop/DBus"),
                                                        QStringLiteral("org.freedesktop.DBus"), QLatin1String(method));
        m.setArguments(args);
        return bus.call(m, QDBus::Block, timeoutMs);
    };
    for (const QString& name : names) {
        const QDBusMessage r = ask("NameHasOwner", {name});
        if (r.type() != QDBusMessage::ReplyMessage) return false; // the bus itself does not answer
        if (!r.arguments().isEmpty() && r.arguments().first().toBool()) return true;
    }
    const QDBusMessage r = ask("ListActivatableNames", {});
    if (r.type() != QDBusMessage::ReplyMessage || r.arguments().isEmpty()) return false;
    const QStringList activatable = r.arguments().first().toStringList();
    for (const QString& name : names)
        if (activatable.contains(name)) return true;
    return false;
}

// Runs the job and waits for it; a job that does not finish in time finishes on its own later.
Result Run(QKeychain::Job* job, int timeoutMs, const std::function<void()>& onFinished = {}) {
    QEventLoop loop;
    bool finished = false;
    // Tied to the loop: a job that finishes after the wait reaches nothing of this call.
    QObject::connect(job, &QKeychain::Job::finished, &loop, [&] {
        finished = true;
        if (onFinished) onFinished();
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    job->setAutoDelete(false);
    job->start();
    if (!finished) loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!finished) {
        job->setAutoDelete(true);
        return kNoKeyring;
    }
    const QKeychain::Error e = job->error();
    job->deleteLater();
    if (e == QKeychain::NoError) return kDone;
    if (e == QKeychain::EntryNotFound) return kNotFound;
    return kNoKeyring;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) int zv_keyring_probe(int timeoutMs) { return KeyringOnBus(timeoutMs) ? 1 : 0; }

// On kDone *out holds the password (UTF-8), to be released with zv_keyring_free.
__attribute__((visibility("default"))) int zv_keyring_read(const char* service, const char* account, char** out,
                                                           int timeoutMs) {
    *out = nullptr;
    auto* job = new QKeychain::ReadPasswordJob(QString::fromUtf8(service));
    job->setKey(QString::fromUtf8(account));
    QString text;
    const Result r = Run(job, timeoutMs, [&text, job] { text = job->textData(); });
    if (r == kDone) *out = strdup(text.toUtf8().constData());
    return r;
}

__attribute__((visibility("default"))) int zv_keyring_write(const char* service, const char* account,
                                                            const char* password, int timeoutMs) {
    auto* job = new QKeychain::WritePasswordJob(QString::fromUtf8(service));
    job->setKey(QString::fromUtf8(account));
    job->setTextData(QString::fromUtf8(password));
    return Run(job, timeoutMs);
}

__attribute__((visibility("default"))) int zv_keyring_remove(const char* service, const char* account,
                                                             int timeoutMs) {
    auto* job = new QKeychain::DeletePasswordJob(QString::fromUtf8(service));
    job->setKey(QString::fromUtf8(account));
    const Result r = Run(job, timeoutMs);
    return r == kNotFound ? kDone : r;
}

__attribute__((visibility("default"))) void zv_keyring_free(char* p) { std::free(p); }

} // extern "C"
