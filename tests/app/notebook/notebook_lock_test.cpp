// SPDX-License-Identifier: GPL-3.0-or-later
// The notebook file's lock: what holds it is said, the rows wait without the window waiting, and
// they are written once the lock can be had.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <functional>
#include <optional>

#include "app/notebook/notebook_file.h"
#include "app/notebook/notebook_model.h"
#include "app/notebook/notebook_store.h"

#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

namespace {

TNotebookRow Reading(const std::string& time) {
  return {time, "Hacheur 2 quadrants", "", "", "", "", 50, 12.5, 1500, std::nullopt, std::nullopt};
}

// The lock's time put back past the time after which a lock is taken over.
void Age(const QString& path) {
  const time_t past = time(nullptr) - 60;
  const utimbuf times{past, past};
  ASSERT_EQ(utime(QFile::encodeName(path).constData(), &times), 0);
}

// As root (a test machine), file rights hold only for another user: the steps run as nobody.
class AsNobody {
 public:
  AsNobody() : root_(geteuid() == 0) {
    if (root_) {
      EXPECT_EQ(seteuid(65534), 0);
    }
  }
  ~AsNobody() {
    if (root_) {
      EXPECT_EQ(seteuid(0), 0);
    }
  }
  AsNobody(const AsNobody&) = delete;
  AsNobody& operator=(const AsNobody&) = delete;

 private:
  bool root_;
};

TEST(NotebookLock, SaysWhatHoldsTheLockAndKeepsTheRowsUntilItGoes) {
  QTemporaryDir dir;
  // Anyone may write there, no one may remove another's file: a shared folder.
  ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 01777), 0);
  const QString path = dir.filePath(QStringLiteral("releves.tsv"));
  const QString lock = path + QStringLiteral(".lock");
  const auto writeLock = [&](const QByteArray& text) {
    QFile file(lock);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
  };
  const struct {
    const char* what;
    std::function<void()> make;
    bool asNobody;
    QString why;
  } cases[] = {
      {"a copy on another computer", [&] { writeLock("4242\nsimhacheur\nposte-12\n\n\n"); }, false,
       QStringLiteral("une copie du programme sur l'ordinateur «\u202Fposte-12\u202F» est en train "
                      "de l'écrire\u202F; si elle est arrêtée, son verrou sera repris quand il "
                      "aura plus de 10\u00A0s")},
      {"a folder", [&] { ASSERT_TRUE(QDir().mkdir(lock)); }, false,
       QStringLiteral("le verrou «\u202F%1\u202F» est un dossier et non un fichier\u202F; il faut "
                      "le supprimer")
           .arg(lock)},
      {"another user's lock, unreadable and too old",
       [&] {
         writeLock("1\n");
         ASSERT_EQ(chmod(QFile::encodeName(lock).constData(), 0), 0);
         Age(lock);
       },
       true, QStringLiteral("le verrou «\u202F%1\u202F» ne peut être ni lu ni supprimé").arg(lock)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.asNobody && geteuid() != 0) continue;  // the lock would be the user's own
    c.make();
    const auto removeLock = qScopeGuard([&] {
      QFile::remove(lock);
      QDir(lock).removeRecursively();
    });
    QFile::remove(path);
    std::optional<AsNobody> nobody;
    if (c.asNobody) nobody.emplace();
    TNotebookModel model;
    TNotebookStore store(&model, path);
    store.Load();
    const QString said =
        QStringLiteral("Les relevés n'ont pas pu être enregistrés dans «\u202F%1\u202F»\u00A0: %2.")
            .arg(path, c.why);
    EXPECT_EQ(store.Record(Reading("10:00")), said);
    // Said once; the state stays in sight for as long as it lasts.
    EXPECT_EQ(store.Record(Reading("10:01")), QString());
    EXPECT_TRUE(store.SaveProblem().contains(c.why)) << store.SaveProblem().toStdString();
    EXPECT_EQ(store.UnsavedRows().size(), 2u);
    if (c.asNobody) {
      nobody.reset();
      QFile::remove(lock);
      nobody.emplace();
    } else if (QFileInfo(lock).isDir()) {
      QDir(lock).removeRecursively();
    } else {
      Age(lock);  // the other computer's copy was stopped long ago
    }
    EXPECT_EQ(store.Refresh(), QString());
    EXPECT_TRUE(store.UnsavedRows().empty());
    EXPECT_EQ(store.SaveProblem(), QString());
    nobody.reset();
    EXPECT_EQ(TNotebookFile(path).Load().rows, model.Rows());
  }
}

}  // namespace
