// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QtGlobal>
#include <atomic>
#include <deque>
#include <map>

class QLocalServer;
class QLocalSocket;

namespace single_instance {

inline const QByteArray kRaise = QByteArrayLiteral("raise\n");
inline const QByteArray kRaised = QByteArrayLiteral("raised\n");
// Longer than any line the copies say to each other.
constexpr int kLongestLine = 64;

// Whether the program at the other end of the local socket `descriptor` runs as this user. Where
// the system tells a socket's peer (Linux, the BSDs, macOS), it is asked; elsewhere, and in the
// portable build, only a socket in a folder that no one else can enter is trusted.
bool PeerIsThisUser(qintptr descriptor, const QString& socketPath);
// A folder of this user's that no one else can enter (and not a link to one).
bool IsPrivateFolder(const QString& folder);

}  // namespace single_instance

// The answering side of the single-instance socket, in a thread of its own: a later start gets
// its answer at once, even while this copy is still building its window or busy. Only this
// user's copies are answered; a client that sends a line too long, stays idle or crowds the
// server out is dropped, and the program goes on.
class TInstanceServer : public QObject {
  Q_OBJECT

 public:
  static constexpr int kMostClients = 16;  // past this, the oldest client is dropped
  static constexpr int kIdleMs = 2'000;
  // While the program's event loop has not run yet, a request is answered after this, whether
  // the program took it in hand or not: it will, once its window is up.
  static constexpr int kStartingGraceMs = 300;

  explicit TInstanceServer(QString name);
  ~TInstanceServer() override;

  // Before the object moves to the thread it answers in.
  bool Listen();
  // The program took the request in hand: its client gets the answer.
  void Acknowledge(quint64 ticket);
  // From the program's first turn of its event loop on, a request waits for the program.
  void SetProgramRunning() { programRunning_ = true; }

 signals:
  // A later start asks for the window; Acknowledge(ticket) once it is in hand.
  void RaiseAsked(quint64 ticket);

 private:
  void Accept();
  void Read(QLocalSocket* client);
  void Answer(quint64 ticket);
  void Drop(QLocalSocket* client);

  QString name_;
  QLocalServer* server_ = nullptr;
  std::deque<QLocalSocket*> clients_;  // oldest first
  std::map<quint64, QPointer<QLocalSocket>> waiting_;
  quint64 nextTicket_ = 0;
  std::atomic<bool> programRunning_ = false;
};
