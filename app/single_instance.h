// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QWidget;

// One copy of the program per desktop session: a later start asks the copy already running to
// come to the front, then ends. The copies meet on a local socket; a socket or lock file left
// behind by a copy that crashed or was killed never stops a start, and a socket that cannot be
// made leaves the program to start as usual.
class TSingleInstance : public QObject {
  Q_OBJECT

 public:
  // `serverName`: the socket the copies meet on; SessionServerName() for the program.
  explicit TSingleInstance(QString serverName, QObject* parent = nullptr);
  ~TSingleInstance() override;

  // The socket for this user on this display: in the user's runtime folder, named after the
  // platform and the display, so that two displays of one user each have their copy.
  static QString SessionServerName();

  // True once a copy already running has answered that it comes to the front. Otherwise this
  // copy answers later starts from now on (when it can) and the result is false. Two starts at
  // the same instant cannot both find nobody: the look and the listening are done under a lock.
  bool RaiseRunningCopy(int timeoutMs = 5000);
  // Whether this copy answers later starts.
  bool Serving() const { return server_ != nullptr; }

 signals:
  // A later start asks for the window; it ends once this has run.
  void RaiseRequested();

 private:
  bool AskRunningCopy(int timeoutMs);
  void Listen();
  void Answer();

  QString name_;
  QLocalServer* server_ = nullptr;
};

// The window back from the task bar (in its maximised or normal state) in front of the others
// and active; a dialog open over it stays in front of it.
void BringToFront(QWidget* window);
