// SPDX-License-Identifier: GPL-3.0-or-later
// The notebook file's lock: what holds it is said, the rows wait without the window waiting for
// it, and they are written once it has gone.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "app/notebook/notebook_file.h"
#include "app/notebook/notebook_model.h"
#include "app/notebook/notebook_store.h"

#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

namespace {

// The lock's time put back past the time after which a lock is taken over.
void Age(const QString& lock) {
  const time_t past = time(nullptr) - 60;
  const utimbuf times{past, past};
  ASSERT_EQ(utime(QFile::encodeName(lock).constData(), &times), 0);
}

void WriteLock(const QString& lock, const QByteArray& text) {
  QFile file(lock);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
}

// As root (a test machine), file rights hold only for another user: nobody plays the copy.
void As(uid_t user) {
  if (geteuid() != user) {
    EXPECT_EQ(seteuid(user), 0);
  }
}

TEST(NotebookLock, SaysWhatHoldsTheLockAndKeepsTheRowsUntilItGoes) {
  QTemporaryDir dir;
  // Anyone may write there, no one may remove another's file: a shared folder.
  ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 01777), 0);
  const QString path = dir.filePath(QStringLiteral("releves.tsv"));
  const QString lock = QDir::toNativeSeparators(path + QStringLiteral(".lock"));
  const uid_t me = geteuid();
  const auto remove = [](const QString& name) { QFile::remove(name); };
  const struct {
    std::function<void(const QString&)> make;
    QString why;
    std::function<void(const QString&)> release;
    uid_t user;
  } cases[] = {
      {[](const QString& name) { WriteLock(name, "4242\nsimhacheur\nposte-12\n"); },
       QStringLiteral("une copie du programme sur l'ordinateur «\u202Fposte-12\u202F» est en train "
                      "de l'écrire\u202F; si elle est arrêtée, son verrou sera repris quand il "
                      "aura plus de 10\u00A0s"),
       Age, me},  // the other computer's copy was stopped long ago
      {[](const QString& name) { ASSERT_TRUE(QDir().mkdir(name)); },
       QStringLiteral("le verrou «\u202F%1\u202F» est un dossier et non un fichier\u202F; il faut "
                      "le supprimer")
           .arg(lock),
       [](const QString& name) { QDir(name).removeRecursively(); }, me},
      {[](const QString& name) {
         WriteLock(name, "1\n");
         ASSERT_EQ(chmod(QFile::encodeName(name).constData(), 0), 0);
         Age(name);
       },
       QStringLiteral("le verrou «\u202F%1\u202F» ne peut être ni lu ni supprimé").arg(lock),
       remove, 65534},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why.toStdString());
    if (c.user != me && me != 0) continue;  // the lock would be the user's own
    QFile::remove(path);
    c.make(lock);
    As(c.user);
    TNotebookModel model;
    TNotebookStore store(&model, path);
    store.Load();
    EXPECT_EQ(store.Record(TNotebookRow{}),
              QStringLiteral("Les relevés n'ont pas pu être enregistrés dans «\u202F%1\u202F»"
                             "\u00A0: %2.")
                  .arg(path, c.why));
    EXPECT_EQ(store.Record(TNotebookRow{}), QString());  // said once, in sight while it lasts:
    EXPECT_TRUE(store.SaveProblem().contains(c.why)) << store.SaveProblem().toStdString();
    EXPECT_EQ(store.UnsavedRows().size(), 2u);
    As(me);
    c.release(lock);
    As(c.user);
    EXPECT_EQ(store.Refresh(), QString());
    EXPECT_TRUE(store.UnsavedRows().empty() && store.SaveProblem().isEmpty());
    As(me);
    EXPECT_EQ(TNotebookFile(path).Load().rows, model.Rows());
    remove(lock);
  }
}

}  // namespace
