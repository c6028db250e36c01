// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/single_instance.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QWidget>
#include <utility>

#include "app/guarded.h"

namespace {

const QByteArray kRaise = QByteArrayLiteral("raise\n");
const QByteArray kRaised = QByteArrayLiteral("raised\n");

// A Unix socket's path must stay short (108 bytes with the ending zero on Linux).
constexpr int kLongestSocketPath = 100;

QString FileSafe(QString text) {
  static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9._-]"));
  return text.replace(unsafe, QStringLiteral("_"));
}

}  // namespace

TSingleInstance::TSingleInstance(QString serverName, QObject* parent)
    : QObject(parent), name_(std::move(serverName)) {}

TSingleInstance::~TSingleInstance() {
  if (server_ != nullptr) server_->close();  // removes the socket file
}

QString TSingleInstance::SessionServerName() {
  QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (display.isEmpty()) display = qEnvironmentVariable("DISPLAY");
  const QString key = FileSafe(QGuiApplication::platformName() + QLatin1Char('-') + display);
#if defined(Q_OS_UNIX)
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (!runtime.isEmpty()) {
    QString path = QDir(runtime).filePath(QStringLiteral("simhacheur-") + key);
    if (path.toLocal8Bit().size() > kLongestSocketPath) {
      const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1);
      path = QDir(runtime).filePath(QStringLiteral("simhacheur-") +
                                    QString::fromLatin1(hash.toHex().left(16)));
    }
    if (path.toLocal8Bit().size() <= kLongestSocketPath) return path;
  }
#endif
  // Without a runtime folder (or on a system whose local sockets are not files), a name of
  // this user's: the system places it.
  QString user = qEnvironmentVariable("USER");
  if (user.isEmpty()) user = qEnvironmentVariable("USERNAME");
  return QStringLiteral("simhacheur-%1-%2").arg(FileSafe(user), key);
}

bool TSingleInstance::RaiseRunningCopy(int timeoutMs) {
  const QFileInfo socket(name_);
  const QString lockPath = socket.isAbsolute()
                               ? name_ + QStringLiteral(".lock")
                               : QDir::temp().filePath(FileSafe(name_) + QStringLiteral(".lock"));
  // QLockFile takes over a lock whose owner has died; a lock held too long by a live copy
  // that hangs does not stop this one either: it goes on without it.
  QLockFile lock(lockPath);
  lock.setStaleLockTime(2 * timeoutMs + 1000);
  lock.tryLock(timeoutMs + 1000);
  if (AskRunningCopy(timeoutMs)) return true;
  Listen();
  return false;
}

bool TSingleInstance::AskRunningCopy(int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(timeoutMs)) {
    // Nobody there: a socket file left behind by a copy that died goes before listening.
    if (socket.error() == QLocalSocket::ServerNotFoundError ||
        socket.error() == QLocalSocket::ConnectionRefusedError)
      QLocalServer::removeServer(name_);
    return false;
  }
  socket.write(kRaise);
  socket.waitForBytesWritten(timeoutMs);
  while (!socket.canReadLine() && socket.waitForReadyRead(timeoutMs)) {
  }
  // A copy that does not answer (it hangs) holds the session no more: this one starts and
  // answers later starts in its place.
  return socket.canReadLine() && socket.readLine() == kRaised;
}

void TSingleInstance::Listen() {
  auto* server = new QLocalServer(this);
  // Made aside then renamed into place: the user's own socket, and it replaces a hung copy's.
  server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server->listen(name_)) {
    // Someone else's file in the way, a folder that cannot be written: start anyway, alone.
    delete server;
    return;
  }
  server_ = server;
  ConnectGuarded(server_, &QLocalServer::newConnection, this, &TSingleInstance::Answer);
}

void TSingleInstance::Answer() {
  while (QLocalSocket* peer = server_->nextPendingConnection()) {
    connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
    ConnectGuarded(peer, &QLocalSocket::readyRead, this, [this, peer] {
      while (peer->canReadLine()) {
        if (peer->readLine() != kRaise) continue;
        emit RaiseRequested();
        peer->write(kRaised);
        peer->flush();
      }
    });
  }
}

void BringToFront(QWidget* window) {
  window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  window->show();
  window->raise();
  window->activateWindow();
  if (QWidget* dialog = QApplication::activeModalWidget()) {
    dialog->raise();
    dialog->activateWindow();
  }
}
