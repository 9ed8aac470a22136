#include "gui/base/instance.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zv {

namespace {

constexpr quint32 kMagic = 0x5a56434c; // "ZVCL"
constexpr qint64 kMaxMessage = 64 * 1024;
constexpr int kWaitMs = 2000;

// A folder of this user's that nobody else can enter, or false.
bool PrivateFolder(const QByteArray& path) {
    struct stat st;
    if (::lstat(path.constData(), &st) != 0) {
        if (::mkdir(path.constData(), 0700) != 0 || ::lstat(path.constData(), &st) != 0) return false;
    }
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

// The display this client shows on, as a file name.
QString DisplayName() {
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty()) display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty()) display = QStringLiteral("none");
    for (QChar& c : display)
        if (!(c.isLetterOrNumber() || c == u'.' || c == u'-')) c = u'_';
    return display;
}

// Holds an exclusive lock on a file while it lives; the system drops it when the process ends.
class FileLock {
public:
    explicit FileLock(const QString& path) {
        fd_ = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd_ >= 0) ::flock(fd_, LOCK_EX);
    }
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_);
    }

private:
    int fd_ = -1;
};

} // namespace

SingleInstance::SingleInstance() = default;

SingleInstance::~SingleInstance() { delete server_; }

QString SingleInstance::SocketPath() {
    QByteArray folder = qgetenv("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || folder[0] != '/') folder = "/tmp/zorvane-" + QByteArray::number(::geteuid());
    if (!PrivateFolder(folder)) return {};
    return QFile::decodeName(folder) + QStringLiteral("/zorvane-") + DisplayName() + QStringLiteral(".socket");
}

bool SingleInstance::Claim(const QStringList& arguments, std::function<void(const QStringList&)> onArguments) {
    const QString path = SocketPath();
    if (path.isEmpty()) return true; // no safe place: this client runs on its own
    // Two starts at the same moment: one listens, the other finds it.
    const FileLock lock(path + QStringLiteral(".lock"));
    QLocalSocket socket;
    socket.connectToServer(path);
    if (socket.waitForConnected(kWaitMs)) {
        QByteArray message;
        QDataStream out(&message, QIODevice::WriteOnly);
        out << kMagic << arguments;
        socket.write(message);
        socket.waitForBytesWritten(kWaitMs);
        socket.disconnectFromServer();
        if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kWaitMs);
        return false;
    }
    // Nobody answers: what is there was left by a client that ended without cleaning up.
    QLocalServer::removeServer(path);
    server_ = new QLocalServer;
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(path)) return true;
    onArguments_ = std::move(onArguments);
    QObject::connect(server_, &QLocalServer::newConnection, server_, [this] { Receive(); });
    return true;
}

void SingleInstance::Receive() {
    while (QLocalSocket* s = server_->nextPendingConnection()) {
        QPointer<QLocalSocket> socket = s;
        QObject::connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        auto take = [this, socket] {
            if (!socket) return;
            if (socket->bytesAvailable() > kMaxMessage) {
                socket->abort();
                return;
            }
            QDataStream in(socket.data());
            in.startTransaction();
            quint32 magic = 0;
            QStringList arguments;
            in >> magic >> arguments;
            if (!in.commitTransaction()) return; // more is on its way
            socket->disconnectFromServer();
            if (magic == kMagic && onArguments_) onArguments_(arguments);
        };
        QObject::connect(s, &QLocalSocket::readyRead, s, take);
        take();
    }
}

} // namespace zv
