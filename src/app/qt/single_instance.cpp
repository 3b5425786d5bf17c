#include "app/qt/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>

#include "text/lang_tables.h"
#include "text/lang_text.h"

namespace fwup {
namespace {

// What a later instance sends; anything else on the socket is ignored.
constexpr char kRaiseRequest[] = "raise\n";

// How long a later instance keeps trying to reach the running one, which may hold the lock but
// not yet listen, having just started itself.
constexpr int kConnectAttempts = 20;
constexpr int kConnectPauseMs = 100;
constexpr int kWriteTimeoutMs = 1000;

}  // namespace

std::wstring AppMutexName() {
    const std::wstring_view title = LangTableFor(LANG_ENGLISH)[TXT_TITLE].Text;
    return std::wstring(title) + L"(" + std::wstring(strMutexTag) + L")";
}

QString InstanceFileStem(std::wstring_view mutexName) {
    QString stem;
    stem.reserve(static_cast<qsizetype>(mutexName.size()));
    for (const wchar_t c : mutexName) {
        const bool kept = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') ||
                          (c >= L'0' && c <= L'9') || c == L'.' || c == L'-' || c == L'_';
        stem.append(kept ? QChar(static_cast<char16_t>(c)) : QChar(u'_'));
    }
    return stem;
}

QString UserRuntimeDirectory() {
    const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty() && QFileInfo(xdg).isDir()) {
        return xdg;
    }
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty()) {
        return runtime;
    }
    // The temporary directory is shared: another user's lock file there would keep this user
    // from ever starting, so each user gets a folder of their own.
    const QString own =
        QDir(QDir::tempPath()).filePath(QStringLiteral("viruzu-fwup-%1").arg(::getuid()));
    QDir().mkpath(own);
    QFile::setPermissions(own,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return own;
}

SingleInstanceGuard::SingleInstanceGuard(QString directory, QString fileStem, QObject* parent)
    : QObject(parent),
      lockPath_(QDir(directory).filePath(fileStem + QStringLiteral(".lock"))),
      socketPath_(QDir(directory).filePath(fileStem + QStringLiteral(".socket"))) {}

SingleInstanceGuard::~SingleInstanceGuard() {
    if (server_ != nullptr) {
        server_->close();
    }
    // The lock file stays: removing it would let a starting instance lock a file that a third
    // one is about to replace. Closing the descriptor releases the lock.
    if (lockFd_ >= 0) {
        ::close(lockFd_);
    }
}

SingleInstanceGuard::Outcome SingleInstanceGuard::Acquire() {
    const QByteArray path = QFile::encodeName(lockPath_);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        return Outcome::kFailed;
    }
    // flock, not fcntl: its lock belongs to this open file, so a second guard in the same
    // process is refused like a second process.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error != EWOULDBLOCK) {
            return Outcome::kFailed;
        }
        AskRunningInstanceToRaise();
        return Outcome::kAnotherRunning;
    }
    lockFd_ = fd;
    Listen();
    return Outcome::kFirstInstance;
}

void SingleInstanceGuard::Listen() {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket file left by a crashed instance would block listening; holding the lock proves
    // nobody listens on it any more.
    QLocalServer::removeServer(socketPath_);
    if (!server_->listen(socketPath_)) {
        return;  // this instance runs all the same; a later one just cannot raise it
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = server_->nextPendingConnection()) {
            const auto serve = [this, client] {
                if (client->canReadLine() && client->readLine() == kRaiseRequest) {
                    emit raiseRequested();
                }
            };
            connect(client, &QLocalSocket::readyRead, this, serve);
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            serve();  // the request may have arrived with the connection
        }
    });
}

void SingleInstanceGuard::AskRunningInstanceToRaise() const {
    QLocalSocket socket;
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        if (attempt > 0) {
            QThread::msleep(kConnectPauseMs);
        }
        socket.connectToServer(socketPath_);
        if (socket.waitForConnected(kWriteTimeoutMs)) {
            socket.write(kRaiseRequest);
            socket.waitForBytesWritten(kWriteTimeoutMs);
            socket.disconnectFromServer();
            return;
        }
    }
}

}  // namespace fwup
