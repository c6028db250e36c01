// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/single_instance_server.h"

#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "app/guarded.h"

#if defined(Q_OS_UNIX)
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace single_instance {

bool IsPrivateFolder(const QString& folder) {
#if defined(Q_OS_UNIX)
  struct stat status {};
  return !folder.isEmpty() && ::lstat(QFile::encodeName(folder).constData(), &status) == 0 &&
         S_ISDIR(status.st_mode) && status.st_uid == ::geteuid() && (status.st_mode & 077) == 0;
#else
  Q_UNUSED(folder);
  return false;
#endif
}

bool PeerIsThisUser(qintptr descriptor, const QString& socketPath) {
#if defined(Q_OS_LINUX) && !defined(SIMHACHEUR_PORTABLE)
  Q_UNUSED(socketPath);
  ucred peer{};
  socklen_t size = sizeof peer;
  return ::getsockopt(int(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
         peer.uid == ::geteuid();
#elif (defined(Q_OS_MACOS) || defined(Q_OS_FREEBSD) || defined(Q_OS_OPENBSD) || \
       defined(Q_OS_NETBSD)) &&                                                 \
    !defined(SIMHACHEUR_PORTABLE)
  Q_UNUSED(socketPath);
  uid_t uid = 0;
  gid_t gid = 0;
  return ::getpeereid(int(descriptor), &uid, &gid) == 0 && uid == ::geteuid();
#else
  // Without the peer's credentials: whoever could listen or connect in a folder that only this
  // user can enter is this user.
  Q_UNUSED(descriptor);
  return IsPrivateFolder(QFileInfo(socketPath).absolutePath());
#endif
}

}  // namespace single_instance

using namespace single_instance;

TInstanceServer::TInstanceServer(QString name) : name_(std::move(name)) {}

TInstanceServer::~TInstanceServer() {
  if (server_ != nullptr) server_->close();  // removes the socket file
}

bool TInstanceServer::Listen() {
  auto* server = new QLocalServer(this);
  // Made aside then renamed into place: the user's own socket, and it replaces a hung copy's.
  server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server->listen(name_)) {
    delete server;
    return false;
  }
  server_ = server;
  ConnectGuarded(server_, &QLocalServer::newConnection, this, &TInstanceServer::Accept);
  return true;
}

void TInstanceServer::Accept() {
  while (QLocalSocket* client = server_->nextPendingConnection()) {
    if (!PeerIsThisUser(client->socketDescriptor(), name_)) {
      client->abort();
      client->deleteLater();
      continue;
    }
    while (clients_.size() >= std::size_t(kMostClients))
      Drop(clients_.front());
    clients_.push_back(client);
    // Qt reads no more than this ahead: a line without its end never fills the memory.
    client->setReadBufferSize(kLongestLine + 1);
    connect(client, &QLocalSocket::disconnected, this, [this, client] { Drop(client); });
    ConnectGuarded(client, &QLocalSocket::readyRead, this, [this, client] { Read(client); });
    // One that asked waits for its answer, however long the program takes.
    QTimer::singleShot(kIdleMs, client, [this, client] {
      if (!client->property("asked").toBool()) Drop(client);
    });
  }
}

// One request per client, then nothing more.
void TInstanceServer::Read(QLocalSocket* client) {
  while (client->canReadLine()) {
    if (client->property("asked").toBool() || client->readLine(kLongestLine + 1) != kRaise) {
      Drop(client);
      return;
    }
    client->setProperty("asked", true);
    const quint64 ticket = nextTicket_++;
    waiting_[ticket] = client;
    emit RaiseAsked(ticket);
    if (!programRunning_)
      QTimer::singleShot(kStartingGraceMs, this, [this, ticket] { Answer(ticket); });
  }
  if (client->bytesAvailable() > kLongestLine) Drop(client);
}

void TInstanceServer::Acknowledge(quint64 ticket) {
  Answer(ticket);
}

void TInstanceServer::Answer(quint64 ticket) {
  const auto waiting = waiting_.find(ticket);
  if (waiting == waiting_.end()) return;  // answered already
  const QPointer<QLocalSocket> client = waiting->second;
  waiting_.erase(waiting);
  if (client == nullptr) return;
  client->write(kRaised);
  client->flush();
}

void TInstanceServer::Drop(QLocalSocket* client) {
  const auto it = std::find(clients_.begin(), clients_.end(), client);
  if (it == clients_.end()) return;  // dropped already
  clients_.erase(it);
  client->disconnect(this);
  client->abort();
  client->deleteLater();
}
