// SPDX-License-Identifier: GPL-3.0-or-later
// One copy per desktop session: later starts bring the first copy's window to the front.
#include <gtest/gtest.h>

#include <QDir>
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

#if defined(Q_OS_UNIX)
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
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

}  // namespace
