// SPDX-License-Identifier: GPL-3.0-or-later
// One copy per desktop session: later starts bring the first copy's window to the front.
#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QLocalServer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QWidget>
#include <atomic>
#include <memory>

#include "app/single_instance.h"

#include "app/notebook/notebook_model.h"
#include "app/notebook/notebook_store.h"

#if defined(Q_OS_UNIX)
#include <grp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

namespace {

class SingleInstanceTest : public testing::Test {
 protected:
  QString Name() const { return QDir(runtime.path()).filePath(QStringLiteral("copie")); }

  // A later start, in a thread of its own as it would be in a process of its own: it waits
  // for the answer while this thread's event loop lets the first copy give it.
  bool StartAnother() {
    std::atomic<bool> raised = false;
    std::unique_ptr<QThread> later(QThread::create([&] {
      TSingleInstance another(Name());
      raised = another.RaiseRunningCopy(5000);
    }));
    later->start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return later->isFinished(); }, 10000));
    later->wait();
    return raised;
  }

  QTemporaryDir runtime;
};

TEST_F(SingleInstanceTest, SecondStartFindsTheFirstWhichIsAskedToRaise) {
  TSingleInstance first(Name());
  QSignalSpy raise(&first, &TSingleInstance::RaiseRequested);
  EXPECT_FALSE(first.RaiseRunningCopy(2000));  // nobody yet
  EXPECT_TRUE(first.Serving());
  EXPECT_TRUE(StartAnother());
  EXPECT_EQ(raise.count(), 1);
  EXPECT_TRUE(StartAnother());
  EXPECT_EQ(raise.count(), 2);
}

// A copy that hangs holds the session no more: the next start runs and answers in its place.
TEST_F(SingleInstanceTest, CopyThatDoesNotAnswerIsReplaced) {
  QLocalServer mute;  // listens but never answers
  ASSERT_TRUE(mute.listen(Name()));
  TSingleInstance later(Name());
  QSignalSpy raise(&later, &TSingleInstance::RaiseRequested);
  EXPECT_FALSE(later.RaiseRunningCopy(300));
  EXPECT_TRUE(later.Serving());
  EXPECT_TRUE(StartAnother());
  EXPECT_EQ(raise.count(), 1);
}

#if defined(Q_OS_UNIX)
TEST_F(SingleInstanceTest, SocketLeftByACopyThatDiedDoesNotBlock) {
  // What a copy killed at once leaves: a socket file nobody listens on.
  const QByteArray path = QFile::encodeName(Name());
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(static_cast<std::size_t>(path.size()), sizeof address.sun_path);
  std::copy(path.begin(), path.end(), address.sun_path);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
  ASSERT_TRUE(QFile::exists(Name()));

  TSingleInstance first(Name());
  EXPECT_FALSE(first.RaiseRunningCopy(2000));
  EXPECT_TRUE(first.Serving());
  EXPECT_TRUE(StartAnother());
}
#endif

// The program's thread busy building the window, longer than a later start waits: the later
// start still gets its answer, and the window comes forward once the event loop runs.
TEST_F(SingleInstanceTest, CopyStillBuildingItsWindowAnswersAtOnce) {
  TSingleInstance first(Name());
  QSignalSpy raise(&first, &TSingleInstance::RaiseRequested);
  ASSERT_FALSE(first.RaiseRunningCopy(2000));
  std::atomic<bool> raised = false;
  std::unique_ptr<QThread> later(QThread::create([&] {
    TSingleInstance another(Name());
    raised = another.RaiseRunningCopy(1000);
  }));
  later->start();
  QThread::msleep(1200);
  later->wait();
  EXPECT_TRUE(raised);
  EXPECT_TRUE(QTest::qWaitFor([&] { return raise.count() == 1; }, 2000));
}

#if defined(Q_OS_UNIX)
// Another program on the socket `path`. As nobody (another user), it makes `folders` open to
// all, listens on `path` and answers every start "raised"; as this user, it connects
// `connections` times and stays idle, or sends `bytes` bytes without a line feed.
struct TOther {
  QString path;
  bool nobody = false;
  QStringList folders = {};
  int connections = 0;
  long long bytes = 0;
};

// The other program in a process of its own, until this ends: Managed() waits for what it
// managed (connections, bytes; 0 once it listens).
class OtherProgram {
 public:
  explicit OtherProgram(const TOther& other) {
    std::vector<QByteArray> folders;
    for (const QString& folder : other.folders)
      folders.push_back(QFile::encodeName(folder));
    const QByteArray path = QFile::encodeName(other.path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::copy(path.begin(), path.end(), address.sun_path);
    auto* to = reinterpret_cast<sockaddr*>(&address);
    const std::vector<char> chunk(1 << 16, 'x');
    EXPECT_EQ(::pipe(pipe_), 0);
    if ((pid_ = fork()) != 0) return;
    long long done = 0;
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    if (other.nobody) {
      if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
      umask(0);
      for (const QByteArray& folder : folders)
        mkdir(folder.constData(), 0777);
      if (bind(fd, to, sizeof address) != 0 || listen(fd, 8) != 0) _exit(4);
      Tell(done);
      for (char asked[64];;) {
        const int client = accept(fd, nullptr, nullptr);
        if (read(client, asked, sizeof asked) > 0 && write(client, "raised\n", 7) < 0) _exit(5);
        close(client);
      }
    }
    rlimit files{};
    getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);
    for (int more = fd;
         more >= 0 && done < other.connections && connect(more, to, sizeof address) == 0;
         more = socket(AF_UNIX, SOCK_STREAM, 0))
      ++done;
    if (other.bytes > 0 && connect(fd, to, sizeof address) == 0)
      for (ssize_t sent = 0; sent >= 0 && done < other.bytes;
           sent = send(fd, chunk.data(), chunk.size(), MSG_NOSIGNAL))
        done += sent;
    Tell(done);
    for (;;)
      pause();
  }
  ~OtherProgram() {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    ::close(pipe_[0]);
    ::close(pipe_[1]);
  }
  long long Managed() {
    long long managed = -1;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
          pollfd ready{pipe_[0], POLLIN, 0};
          return poll(&ready, 1, 0) == 1 && read(pipe_[0], &managed, sizeof managed) > 0;
        },
        30'000));
    return managed;
  }

 private:
  void Tell(long long done) {
    if (write(pipe_[1], &done, sizeof done) < 0) _exit(6);
  }

  pid_t pid_ = -1;
  int pipe_[2] = {-1, -1};
};

// A client that holds 2 000 connections, one that sends 64 MB without a line feed, on a PC that
// lets a program open 1 024 files: each is dropped, a later start is still answered, and F5
// still saves.
TEST_F(SingleInstanceTest, BadClientsAreDroppedAndTheProgramGoesOn) {
  rlimit saved{};
  getrlimit(RLIMIT_NOFILE, &saved);
  rlimit few = saved;
  few.rlim_cur = std::min<rlim_t>(saved.rlim_cur, 1024);
  setrlimit(RLIMIT_NOFILE, &few);
  TSingleInstance first(Name());
  ASSERT_FALSE(first.RaiseRunningCopy(2000));
  for (const TOther& bad :
       {TOther{Name(), false, {}, 2000}, TOther{Name(), false, {}, 0, 64 << 20}}) {
    OtherProgram program(bad);
    const long long managed = program.Managed();
    EXPECT_TRUE(bad.bytes == 0 ? managed == bad.connections : managed < bad.bytes) << managed;
    EXPECT_TRUE(StartAnother());
    QTemporaryDir folder;
    TNotebookModel model;
    TNotebookStore store(&model, folder.filePath(QStringLiteral("releves.tsv")));
    EXPECT_EQ(store.Record(TNotebookRow{}), QString());
    EXPECT_TRUE(store.UnsavedRows().empty());
  }
  setrlimit(RLIMIT_NOFILE, &saved);
}

// Another user who listens first where the program would look never stops it from starting:
// no XDG_RUNTIME_DIR and the runtime folder Qt falls back to taken, the name of the program's
// own folder taken, or the other user's socket moved into the user's own folder.
TEST(SingleInstanceSquat, AnotherUsersSocketNeverStopsAStart) {
  if (geteuid() != 0) GTEST_SKIP() << "another user's part needs root to play it";
  QTemporaryDir shared, runtime;
  ASSERT_EQ(chmod(QFile::encodeName(shared.path()).constData(), 01777), 0);
  const char* variables[] = {"TMPDIR", "XDG_RUNTIME_DIR", "DISPLAY", "WAYLAND_DISPLAY", "USER"};
  std::vector<QByteArray> saved;
  for (const char* variable : variables)
    saved.push_back(qgetenv(variable));
  const QByteArray values[] = {QFile::encodeName(shared.path()), {}, ":7", {}, "root"};
  for (std::size_t i = 0; i < saved.size(); ++i)
    values[i].isNull() ? qunsetenv(variables[i]) : qputenv(variables[i], values[i]);
  const QString key = QGuiApplication::platformName() + QStringLiteral("-_7");
  const QString own = shared.filePath(QStringLiteral("simhacheur-0"));
  const QString other = shared.filePath(QStringLiteral("autre"));
  const struct {
    TOther squatter;
    QString movedTo;  // in XDG_RUNTIME_DIR
    bool serves;
  } cases[] = {
    {{shared.filePath(QStringLiteral("simhacheur-root-") + key),
      true,
      {shared.filePath(QStringLiteral("runtime-root"))}},
     {},
     true},
    {{own + QStringLiteral("/simhacheur-") + key, true, {own}}, {}, false},
#if !defined(SIMHACHEUR_PORTABLE)
    {{other + QStringLiteral("/s"), true, {other}},
     runtime.filePath(QStringLiteral("simhacheur-") + key),
     true},
#endif
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.squatter.path.toStdString());
    c.movedTo.isEmpty() ? qunsetenv("XDG_RUNTIME_DIR")
                        : qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    OtherProgram squatter(c.squatter);
    EXPECT_EQ(squatter.Managed(), 0);
    EXPECT_EQ(!c.movedTo.isEmpty() && QFile::rename(c.squatter.path, c.movedTo),
              !c.movedTo.isEmpty());
    TSingleInstance copy(TSingleInstance::SessionServerName());
    EXPECT_FALSE(copy.RaiseRunningCopy(1000));
    EXPECT_EQ(copy.Serving(), c.serves);
    QDir(own).removeRecursively();
  }
  for (std::size_t i = 0; i < saved.size(); ++i)
    saved[i].isNull() ? qunsetenv(variables[i]) : qputenv(variables[i], saved[i]);
}
#endif

TEST(SingleInstanceName, OnePerDisplayInTheRuntimeFolder) {
  QTemporaryDir runtime;
  const QByteArray saved[3] = {qgetenv("XDG_RUNTIME_DIR"), qgetenv("DISPLAY"),
                               qgetenv("WAYLAND_DISPLAY")};
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
  qunsetenv("WAYLAND_DISPLAY");
  QStringList names;
  for (const char* display : {":0", ":1", ":1"}) {
    qputenv("DISPLAY", display);
    names << TSingleInstance::SessionServerName();
  }
  qputenv("WAYLAND_DISPLAY", "wayland-0");
  names << TSingleInstance::SessionServerName();
  const char* variables[3] = {"XDG_RUNTIME_DIR", "DISPLAY", "WAYLAND_DISPLAY"};
  for (int i = 0; i < 3; ++i) {
    if (saved[i].isNull())
      qunsetenv(variables[i]);
    else
      qputenv(variables[i], saved[i]);
  }
#if defined(Q_OS_UNIX)
  for (const QString& name : names)
    EXPECT_TRUE(name.startsWith(runtime.path() + QLatin1Char('/'))) << name.toStdString();
#endif
  EXPECT_NE(names[0], names[1]);
  EXPECT_EQ(names[1], names[2]);
  EXPECT_NE(names[3], names[1]);
}

TEST(BringToFront, BackFromTheTaskBarInTheStateItHadBefore) {
  for (const bool maximised : {true, false}) {
    QWidget window;
    maximised ? window.showMaximized() : window.showNormal();
    window.setWindowState(window.windowState() | Qt::WindowMinimized);
    ASSERT_TRUE(window.isMinimized());
    BringToFront(&window);
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.isMaximized(), maximised);
  }
}

// The program itself, twice and more, on a desktop of its own.
class ProgramTest : public testing::Test {
 protected:
  std::unique_ptr<QProcess> Start() {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("run")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    process->setProcessEnvironment(environment);
    process->setWorkingDirectory(QStringLiteral(SIMHACHEUR_RUN_DIR));
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(QStringLiteral(SIMHACHEUR_PROGRAM), {});
    EXPECT_TRUE(process->waitForStarted());
    return process;
  }
  // Two starts at the same instant: one stays, the other brings it forward and ends with 0.
  std::unique_ptr<QProcess> StartTwoAtOnce() {
    std::unique_ptr<QProcess> a = Start(), b = Start();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return a->state() == QProcess::NotRunning || b->state() == QProcess::NotRunning; },
        20000));
    QTest::qWait(500);  // time enough for a wrong second ending too
    const bool aEnded = a->state() == QProcess::NotRunning;
    const bool bEnded = b->state() == QProcess::NotRunning;
    EXPECT_NE(aEnded, bEnded) << "exactly one of the two ends";
    QProcess* ended = aEnded ? a.get() : b.get();
    EXPECT_EQ(ended->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(ended->exitCode(), 0);
    return aEnded ? std::move(b) : std::move(a);
  }

  QTemporaryDir temporary;
  QDir home{temporary.path()};
};

TEST_F(ProgramTest, SecondStartRaisesTheFirstAndEndsEvenAfterACrash) {
  ASSERT_TRUE(home.mkdir(QStringLiteral("run")));
  QFile::setPermissions(home.filePath(QStringLiteral("run")),
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  std::unique_ptr<QProcess> first = StartTwoAtOnce();
  ASSERT_EQ(first->state(), QProcess::Running);
  // Killed without a chance to tidy up: its socket stays behind.
  first->kill();
  first->waitForFinished();
  ASSERT_FALSE(QDir(home.filePath(QStringLiteral("run"))).isEmpty(QDir::AllEntries | QDir::System));
  std::unique_ptr<QProcess> next = StartTwoAtOnce();
  EXPECT_EQ(next->state(), QProcess::Running);
  next->kill();
  next->waitForFinished();
}

// Started from a text console or over ssh without X: a sentence in French, a status that says
// it failed, and no core dump.
TEST_F(ProgramTest, WithoutADisplayItSaysSoInFrenchAndEnds) {
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove(QStringLiteral("DISPLAY"));
  environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(SIMHACHEUR_PROGRAM), {});
  ASSERT_TRUE(program.waitForFinished(30'000));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_NE(program.exitCode(), 0);
  const QString said = QString::fromUtf8(program.readAllStandardError());
  EXPECT_TRUE(said.contains(QStringLiteral("besoin d'une session graphique")))
      << said.toStdString();
  EXPECT_FALSE(said.contains(QStringLiteral("Reinstalling"))) << said.toStdString();
}

}  // namespace
