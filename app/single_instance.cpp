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
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <utility>

#include "app/guarded.h"
#include "app/single_instance_server.h"

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace single_instance;

namespace {

// A Unix socket's path must stay short (108 bytes with the ending zero on Linux).
constexpr int kLongestSocketPath = 100;

QString FileSafe(QString text) {
  static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9._-]"));
  return text.replace(unsafe, QStringLiteral("_"));
}

#if defined(Q_OS_UNIX)
// The runtime folder when it is the user's own and closed to others; else the user's own folder
// in the temporary folder, made or closed as needed; never one another user owns.
QString PrivateRuntimeFolder() {
  QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (IsPrivateFolder(runtime)) return runtime;
  const QString own = QDir::tempPath() + QStringLiteral("/simhacheur-%1").arg(::geteuid());
  const QByteArray path = QFile::encodeName(own);
  ::mkdir(path.constData(), 0700);  // fails when it is there already
  struct stat status {};
  if (!IsPrivateFolder(own) && ::lstat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
      status.st_uid == ::geteuid())
    ::chmod(path.constData(), 0700);
  return IsPrivateFolder(own) ? own : QString();
}
#endif

}  // namespace

TSingleInstance::TSingleInstance(QString serverName, QObject* parent)
    : QObject(parent), name_(std::move(serverName)) {}

TSingleInstance::~TSingleInstance() {
  StopServing();
}

QString TSingleInstance::SessionServerName() {
  QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (display.isEmpty()) display = qEnvironmentVariable("DISPLAY");
  const QString key = FileSafe(QGuiApplication::platformName() + QLatin1Char('-') + display);
#if defined(Q_OS_UNIX)
  const QString folder = PrivateRuntimeFolder();
  if (folder.isEmpty()) return {};
  QString path = QDir(folder).filePath(QStringLiteral("simhacheur-") + key);
  if (path.toLocal8Bit().size() > kLongestSocketPath) {
    const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1);
    path = QDir(folder).filePath(QStringLiteral("simhacheur-") +
                                 QString::fromLatin1(hash.toHex().left(16)));
  }
  return path.toLocal8Bit().size() <= kLongestSocketPath ? path : QString();
#else
  // A name of this user's: the system places it. Without a way to tell who listens there, the
  // copies never take each other's word (PeerIsThisUser).
  QString user = qEnvironmentVariable("USER");
  if (user.isEmpty()) user = qEnvironmentVariable("USERNAME");
  return QStringLiteral("simhacheur-%1-%2").arg(FileSafe(user), key);
#endif
}

bool TSingleInstance::RaiseRunningCopy(int timeoutMs) {
  if (name_.isEmpty()) return false;
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
  // Another user's program, or one that cannot be told: this copy starts, in its place.
  if (!PeerIsThisUser(socket.socketDescriptor(), name_)) return false;
  socket.write(kRaise);
  socket.waitForBytesWritten(timeoutMs);
  while (!socket.canReadLine() && socket.bytesAvailable() <= kLongestLine &&
         socket.waitForReadyRead(timeoutMs)) {
  }
  // A copy that does not answer (it hangs) holds the session no more: this one starts and
  // answers later starts in its place.
  return socket.canReadLine() && socket.readLine(kLongestLine + 1) == kRaised;
}

void TSingleInstance::Listen() {
  auto owned = std::make_unique<TInstanceServer>(name_);
  // Someone else's file in the way, a folder that cannot be written: start anyway, alone.
  if (!owned->Listen()) return;
  // Listening here, answering there: the start waits for no other thread.
  thread_ = new QThread(this);
  thread_->setObjectName(QStringLiteral("simhacheur-instance"));
  TInstanceServer* server = server_ = owned.release();
  server->moveToThread(thread_);
  thread_->start();
  ConnectGuarded(server, &TInstanceServer::RaiseAsked, this, [this, server](quint64 ticket) {
    emit RaiseRequested();
    if (server_ == server)  // not stopped since it asked
      QMetaObject::invokeMethod(server, [server, ticket] { server->Acknowledge(ticket); });
  });
  // From the first turn of this thread's event loop on, requests wait for it.
  QTimer::singleShot(0, this, [this] {
    if (server_ != nullptr) server_->SetProgramRunning();
  });
}

void TSingleInstance::StopServing() {
  if (thread_ == nullptr) return;
  TInstanceServer* server = std::exchange(server_, nullptr);
  QMetaObject::invokeMethod(
      server, [server] { delete server; }, Qt::BlockingQueuedConnection);
  thread_->quit();
  thread_->wait();
  delete std::exchange(thread_, nullptr);
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
