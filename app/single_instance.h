// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class QThread;
class QWidget;
class TInstanceServer;

// One copy of the program per desktop session: a later start asks the copy already running to
// come to the front, then ends. The copies meet on a local socket in a folder that only the user
// can enter, and each checks that the other runs as the same user: another user's program can
// neither stop a start nor be taken for a copy. A socket or lock file left behind by a copy that
// crashed or was killed never stops a start, and when in doubt the program starts as usual.
class TSingleInstance : public QObject {
  Q_OBJECT

 public:
  // `serverName`: the socket the copies meet on; SessionServerName() for the program. Empty:
  // the copy meets no other.
  explicit TSingleInstance(QString serverName, QObject* parent = nullptr);
  ~TSingleInstance() override;

  // The socket for this user on this display, named after the platform and the display so that
  // two displays of one user each have their copy. It lies in the user's runtime folder when
  // that is the user's own and closed to others, else in a folder of the user's own made in the
  // temporary folder (mode 0700); empty when neither can be had.
  static QString SessionServerName();

  // True once a copy of this user already running has answered that it comes to the front.
  // Otherwise this copy answers later starts from now on (when it can), from a thread of its
  // own so that it answers at once even while it builds its window, and the result is false.
  // Two starts at the same instant cannot both find nobody: the look and the listening are
  // done under a lock.
  bool RaiseRunningCopy(int timeoutMs = 5000);
  // Whether this copy answers later starts.
  bool Serving() const { return server_ != nullptr; }

 signals:
  // A later start asks for the window; it ends once this has run, or, while this copy's event
  // loop has not run yet, at once: the window comes forward when it does.
  void RaiseRequested();

 private:
  bool AskRunningCopy(int timeoutMs);
  void Listen();
  void StopServing();

  QString name_;
  QThread* thread_ = nullptr;
  TInstanceServer* server_ = nullptr;  // lives in thread_
};

// The window back from the task bar (in its maximised or normal state) in front of the others
// and active; a dialog open over it stays in front of it.
void BringToFront(QWidget* window);
