// SPDX-License-Identifier: GPL-3.0-or-later
// The notebook's table model and its file.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <csignal>
#include <map>
#include <random>
#include <set>

#include "app/notebook/notebook_file.h"
#include "app/notebook/notebook_model.h"
#include "app/notebook/notebook_store.h"

#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// Failures show a row by its time and id, not as bytes.
void PrintTo(const TNotebookRow& row, std::ostream* out) {
  *out << row.time << " " << row.id;
}

namespace {

using C = TNotebookColumn;

TNotebookRow Reading(const std::string& time) {
  return {time, "Hacheur 2 quadrants", "", "", "", "", 50, 12.346, 1500.4, std::nullopt, -0.004};
}

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

std::vector<std::string> Times(const TNotebookModel& model) {
  std::vector<std::string> times;
  for (const TNotebookRow& row : model.Rows())
    times.push_back(row.time);
  return times;
}

// ---------------------------------------------------------------------------------------------
// Model

// Recorded and Removed tell the file what the user did, by id; Merge (what other copies did)
// and SetRows tell nothing.
TEST(NotebookModel, EveryChangeOfTheUserSignalledOnce) {
  TNotebookModel model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  QSignalSpy changed(&model, &TNotebookModel::Changed);
  std::vector<std::string> recorded, removed;
  QObject::connect(&model, &TNotebookModel::Recorded,
                   [&](const TNotebookRow& row) { recorded.push_back(row.id); });
  QObject::connect(&model, &TNotebookModel::Removed, [&](const std::vector<std::string>& ids) {
    removed.insert(removed.end(), ids.begin(), ids.end());
  });
  for (const char* time : {"a", "b", "c", "d", "e"})
    model.Append(Reading(time));
  EXPECT_EQ(changed.count(), 5);
  ASSERT_EQ(recorded.size(), 5u);
  EXPECT_EQ(std::set<std::string>(recorded.begin(), recorded.end()).size(), 5u);
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(model.Rows()[i].id, recorded[i]);
    EXPECT_EQ(recorded[i].size(), 32u);
  }
  model.RemoveRows({3, 0, 3, 9, -1});
  EXPECT_EQ(changed.count(), 6);
  EXPECT_EQ(removed, (std::vector<std::string>{recorded[0], recorded[3]}));
  EXPECT_EQ(Times(model), (std::vector<std::string>{"b", "c", "e"}));
  model.RemoveRows({7});  // nothing to remove, nothing changed
  TNotebookRow other = Reading("f");
  other.id = std::string(32, 'f');
  model.Merge({other}, {recorded[2]});
  EXPECT_EQ(Times(model), (std::vector<std::string>{"b", "e", "f"}));
  model.SetRows({Reading("x"), Reading("y")});
  EXPECT_EQ(changed.count(), 6);
  EXPECT_EQ(removed.size(), 2u);
  EXPECT_EQ(model.rowCount(), 2);
  model.Clear();
  EXPECT_EQ(changed.count(), 7);
  EXPECT_EQ(removed.size(), 4u);
  EXPECT_EQ(model.rowCount(), 0);
}

// Few runs of rows go one by one, many in one pass: both keep the rest in order.
TEST(NotebookModel, RemovesLikeAReference) {
  std::mt19937 random(12345);
  for (int removed : {1, 5, 40, 150, 200}) {
    TNotebookModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    std::vector<TNotebookRow> rows;
    rows.reserve(200);
    for (int i = 0; i < 200; ++i)
      rows.push_back(Reading(std::to_string(i)));
    model.SetRows(rows);
    QList<int> chosen;
    std::vector<bool> gone(200);
    for (int i = 0; i < removed; ++i) {
      chosen.append(std::uniform_int_distribution<int>(0, 199)(random));
      gone[std::size_t(chosen.back())] = true;
    }
    std::vector<std::string> reference;
    for (int i = 0; i < 200; ++i)
      if (!gone[std::size_t(i)]) reference.push_back(std::to_string(i));
    model.RemoveRows(chosen);
    EXPECT_EQ(Times(model), reference) << removed;
  }
}

TEST(NotebookModel, ShowsFrenchNumbersRightAligned) {
  TNotebookModel model;
  model.Append(Reading("2026-12-08 14:32:05"));
  const struct {
    C column;
    QString text;
    bool right;
  } cases[] = {{C::kTime, QStringLiteral("2026-12-08 14:32:05"), false},
               {C::kExperiment, QStringLiteral("Hacheur 2 quadrants"), false},
               {C::kSetPoint, QStringLiteral("50,0"), true},
               {C::kVoltage, QStringLiteral("12,35"), true},
               {C::kSpeed, QStringLiteral("1\u202F500"), true},
               {C::kCurrent1, QString(), true},
               {C::kCurrent2, QStringLiteral("0,00"), true}};
  for (const auto& c : cases) {
    const QModelIndex index = model.index(0, int(c.column));
    EXPECT_EQ(index.data().toString(), c.text);
    EXPECT_EQ(Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()) & Qt::AlignRight,
              c.right ? Qt::AlignRight : Qt::Alignment());
  }
  EXPECT_EQ(model.headerData(int(C::kSpeed), Qt::Horizontal).toString(),
            QStringLiteral("n (tr/min)"));
  EXPECT_EQ(model.headerData(0, Qt::Vertical).toInt(), 1);
}

TEST(NotebookModel, CopiesTheSelectionForASpreadsheet) {
  TNotebookModel model;
  model.Append({"10:00", "Essai", "a\tb", "", "", "", 12.5, 1.25, 1500, std::nullopt, -0.1});
  model.Append(Reading("10:01"));
  model.Append({"10:02", "", "", "", "", "", std::nullopt, 1e-7, 0, 2, 1.0 / 3});
  const QString header = QStringLiteral(
      "Heure\tEssai\tBranchement\tHacheur\tSens de rotation\tMachine motrice\tConsigne (%)\t"
      "U (V)\tn (tr/min)\tI1 (A)\tI2 (A)\n");
  const struct {
    QLocale locale;
    QString rows;
  } cases[] = {
      {QLocale(QLocale::French),
       QStringLiteral("10:00\tEssai\ta b\t\t\t\t12,5\t1,25\t1500\t\t-0,1\n"
                      "10:02\t\t\t\t\t\t\t1e-07\t0\t2\t0,3333333333333333\n")},
      {QLocale::c(), QStringLiteral("10:00\tEssai\ta b\t\t\t\t12.5\t1.25\t1500\t\t-0.1\n"
                                    "10:02\t\t\t\t\t\t\t1e-07\t0\t2\t0.3333333333333333\n")}};
  for (const auto& c : cases)
    EXPECT_EQ(model.TabSeparated({2, 0, 2, 5}, c.locale), header + c.rows);
}

// ---------------------------------------------------------------------------------------------
// File

const std::vector<TNotebookRow> kRows = {
    {"2026-12-08 14:32:05", "Hacheur 2 quadrants", "moteur\tà vide", "", "sens 1", "", 50, 0.1,
     1500, std::nullopt, -2.5, "0123456789abcdef0123456789abcdef"},
    {"", "a\\b\nc\r", "", "", "", "", std::nullopt, 1e-300, -1.7976931348623157e308, 1.0 / 3,
     std::nullopt, "fedcba9876543210fedcba9876543210"},
    {"", "", "", "", "", "", {}, {}, {}, {}, {}, "00000000000000000000000000000000"}};

TEST(NotebookFile, ReadsBackWhatItWroteAndLeavesNoTemporaryFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("données/releves.tsv"));  // created on save
  TNotebookFile file(path);
  EXPECT_EQ(file.Load().message, QString());  // no file yet: an empty notebook
  ASSERT_EQ(file.Save(kRows), QString());
  const QList<QByteArray> lines = Bytes(path).split('\n');
  ASSERT_EQ(lines.size(), 5);
  EXPECT_TRUE(lines[0].startsWith("simhacheur relevés 2\t")) << lines[0].toStdString();
  EXPECT_EQ(lines[1],
            "+\t2026-12-08 14:32:05\tHacheur 2 quadrants\tmoteur\\tà vide\t\tsens "
            "1\t\t50\t0.1\t1500\t\t-2.5\t0123456789abcdef0123456789abcdef");
  EXPECT_TRUE(lines[2].startsWith("+\t\ta\\\\b\\nc\\r\t"));
  const TNotebookLoad load = TNotebookFile(path).Load();
  EXPECT_EQ(load.message, QString());
  EXPECT_EQ(load.rows, kRows);
  EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{"releves.tsv"});
}

// A save that runs out of room leaves the old file whole and no temporary file.
TEST(NotebookFile, AFailedSaveLeavesTheOldFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("releves.tsv"));
  TNotebookFile file(path);
  ASSERT_EQ(file.Save(kRows), QString());
  const QByteArray old = Bytes(path);
  rlimit fileSize{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &fileSize), 0);
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit tiny = fileSize;
  tiny.rlim_cur =
      1024;  // as a full disk looks to a write, past the old file and the lock's few bytes
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
  const QString message = file.Save(std::vector<TNotebookRow>(100, kRows[0]));
  setrlimit(RLIMIT_FSIZE, &fileSize);
  EXPECT_TRUE(message.startsWith(QStringLiteral("Les relevés n'ont pas pu être enregistrés dans "
                                                "«\u202F%1\u202F»\u00A0: l'écriture a échoué")
                                     .arg(path)))
      << message.toStdString();
  EXPECT_EQ(Bytes(path), old);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"releves.tsv"});
}

// A folder that cannot be made (a file stands in its way, which stops root too): said once,
// then silent until a save succeeds.
TEST(NotebookFile, AFailureIsReportedOnceUntilASaveSucceeds) {
  QTemporaryDir dir;
  const QString folder = dir.filePath(QStringLiteral("tp"));
  TNotebookFile file(folder + QStringLiteral("/releves.tsv"));
  const QString expected =
      QStringLiteral(
          "Les relevés n'ont pas pu être enregistrés dans «\u202F%1/releves.tsv\u202F»"
          "\u00A0: le dossier «\u202F%1\u202F» n'a pas pu être créé.")
          .arg(folder);
  Write(folder, "un fichier");
  EXPECT_EQ(file.Save(kRows), expected);
  EXPECT_EQ(file.Save(kRows), QString());
  EXPECT_EQ(file.Save(kRows), QString());
  ASSERT_TRUE(QFile::remove(folder));
  EXPECT_EQ(file.Save(kRows), QString());
  EXPECT_EQ(file.Load().rows, kRows);
  ASSERT_TRUE(QDir(folder).removeRecursively());
  Write(folder, "un fichier");
  EXPECT_EQ(file.Save(kRows), expected);
}

// A file the program cannot read is renamed, never written over, and the notebook starts empty.
TEST(NotebookFile, AnUnreadableFileIsSetAside) {
  const QByteArray good = "simhacheur relevés 1\n10:00\t\t\t\t\t\t1\t2\t3\t4\t5\n";
  const QByteArray good2 =
      "simhacheur relevés 2\n+\t10:00\t\t\t\t\t\t1\t2\t3\t4\t5\t" + QByteArray(32, 'a') + "\n";
  const struct {
    const char* what;
    QByteArray bytes;
    const char* why;
  } cases[] = {
      {"garbage", QByteArray("\x89PNG\r\n\x1a\n\0\0\xff\xfe", 12),
       "(son texte n'est pas en UTF-8)"},
      {"foreign", "temps;U\n0;1\n", "(ce n'est pas un fichier de relevés de simhacheur)"},
      {"newer", "simhacheur relevés 3\n", "(il a été écrit par une autre version de simhacheur)"},
      {"empty", "", "(il est vide)"},
      {"short row", good + "10:01\t\t1\t2\n", "(ligne 3\u00A0: 4 champs au lieu de 11)"},
      {"bad number", good + "10:01\t\t\t\t\t\t1\t2,5\t3\t4\t5\n",
       "(ligne 3\u00A0: nombre illisible «\u202F2,5\u202F»)"},
      {"bad escape", good + "\\x\t\t\t\t\t\t1\t2\t3\t4\t5\n", "(ligne 3\u00A0: texte mal codé)"},
      {"bad text", good + "\xC3\x28\t\t\t\t\t\t1\t2\t3\t4\t5\n",
       "(ligne 3\u00A0: texte qui n'est pas en UTF-8)"},
      // A damaged line with lines after it is no write cut short.
      {"bad id", good2 + "+\t\t\t\t\t\t\t\t\t\t\t\tABC\n" + good2.mid(good2.indexOf("\n+")),
       "(ligne 3\u00A0: identifiant illisible)"},
      {"short removal", good2 + "-\t2\t" + QByteArray(32, 'a') + "\n\n",
       "(ligne 3\u00A0: effacement incomplet)"},
      {"unknown line", good2 + "*\t1\n", "(ligne 3\u00A0: ligne inconnue)"},
  };
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("releves.tsv"));
  QMap<QString, QByteArray> setAside;  // every file put aside so far, with its bytes
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Write(path, c.bytes);
    TNotebookFile file(path);
    const TNotebookLoad load = file.Load();
    EXPECT_TRUE(load.rows.empty());
    EXPECT_FALSE(QFile::exists(path));
    const QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(names.size(), setAside.size() + 1);  // none written over, even within a second
    for (const QString& name : names) {
      if (setAside.contains(name)) continue;
      EXPECT_TRUE(name.startsWith(QStringLiteral("releves.tsv.illisible-"))) << name.toStdString();
      EXPECT_EQ(
          load.message,
          QStringLiteral("Le fichier des relevés «\u202F%1\u202F» est illisible %2\u202F; il a "
                         "été mis de côté sous le nom «\u202F%3\u202F» et le cahier de "
                         "relevés repart vide.")
              .arg(path, QString::fromUtf8(c.why), dir.filePath(name)));
      setAside[name] = c.bytes;
    }
    for (auto aside = setAside.cbegin(); aside != setAside.cend(); ++aside)
      EXPECT_EQ(Bytes(dir.filePath(aside.key())), aside.value());
  }
  // The file that follows is the notebook's own again.
  EXPECT_EQ(TNotebookFile(path).Save(kRows), QString());
  EXPECT_EQ(TNotebookFile(path).Load().rows, kRows);
}

// ---------------------------------------------------------------------------------------------
// What editors and crashes leave

std::vector<std::string> Ids(const std::vector<TNotebookRow>& rows) {
  std::vector<std::string> ids;
  ids.reserve(rows.size());
  for (const TNotebookRow& row : rows)
    ids.push_back(row.id);
  return ids;
}

// A model and its store: one copy of the program.
struct Copy {
  explicit Copy(const QString& path) : store(&model, path) {
    QObject::connect(&store, &TNotebookStore::Report,
                     [this](const QString& message) { reports.push_back(message); });
  }
  TNotebookModel model;
  TNotebookStore store;
  std::vector<QString> reports;
};

// What a Windows editor leaves (the file as it came from one), a missing last line feed, and a
// last line that a crash cut short: the file loads, and the next row recorded lands on a line of
// its own.
TEST(NotebookFile, TakesWhatEditorsAndCrashesLeave) {
  const QByteArray v2 = "simhacheur relevés 2\t" + QByteArray(32, '1') + "\n";
  const QByteArray row1 = "+\t10:00\t\t\t\t\t\t1\t2\t3\t4\t5\t" + QByteArray(32, 'a');
  const QByteArray row2 = "+\t10:01\t\t\t\t\t\t1\t2\t3\t4\t5\t" + QByteArray(32, 'b');
  const struct {
    const char* what;
    QByteArray bytes;
    std::vector<std::string> times;
  } cases[] = {
      {"windows editor",
       "\xEF\xBB\xBFsimhacheur relevés 1\r\n2026-12-08 14:32:05\tHacheur 2 quadrants\tMoteur\t"
       "Réversible\tSens 1\t\t50\t110.25\t1502.5\t\t\r\n",
       {"2026-12-08 14:32:05"}},
      {"no last line feed, version 1",
       "simhacheur relevés 1\n10:00\t\t\t\t\t\t1\t2\t3\t4\t5",
       {"10:00"}},
      {"cut short, version 1",
       "simhacheur relevés 1\n10:00\t\t\t\t\t\t1\t2\t3\t4\t5\n10:01\t\t",
       {"10:00"}},
      {"no last line feed", v2 + row1, {"10:00"}},
      {"cut in the id", v2 + row1 + "\n" + row2.chopped(1), {"10:00"}},
      {"cut in the fields", v2 + row1 + "\n" + row2.left(9), {"10:00"}},
      {"cut in a character", v2 + row1 + "\n+\t10:01\tH\xC3", {"10:00"}},
      {"cut in a removal",
       v2 + row1 + "\n" + row2 + "\n-\t2\t" + QByteArray(32, 'a'),
       {"10:00", "10:01"}},
      {"blank lines and carriage returns",
       v2 + row1 + "\r\n\r\n\n" + row2 + "\r\n",
       {"10:00", "10:01"}},
      {"only the first line", "simhacheur relevés 2", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("releves.tsv"));
    Write(path, c.bytes);
    Copy copy(path);
    EXPECT_EQ(copy.store.Load(), QString());
    EXPECT_EQ(Times(copy.model), c.times);
    EXPECT_EQ(copy.store.Record(Reading("11:00")), QString());
    const TNotebookLoad again = TNotebookFile(path).Load();
    EXPECT_EQ(again.message, QString());
    EXPECT_EQ(again.rows, copy.model.Rows());
    EXPECT_EQ(again.rows.size(), c.times.size() + 1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"releves.tsv"});
  }
}

// Copies that upgrade the same version 1 file give its rows the same ids: none is doubled.
TEST(NotebookFile, AVersion1FileIsUpgradedWithIdsEveryCopyAgreesOn) {
  const QByteArray v1 =
      "simhacheur relevés 1\n10:00\t\t\t\t\t\t1\t2\t3\t4\t5\n10:00\t\t\t\t\t\t1\t2\t3\t4\t5\n"
      "10:01\t\t\t\t\t\t\t\t\t\t\n";
  QTemporaryDir one, two;
  const QString first = one.filePath(QStringLiteral("releves.tsv"));
  const QString second = two.filePath(QStringLiteral("releves.tsv"));
  Write(first, v1);
  Write(second, v1);
  const TNotebookLoad a = TNotebookFile(first).Load();
  const TNotebookLoad b = TNotebookFile(second).Load();
  ASSERT_EQ(a.rows.size(), 3u);  // the same reading twice is two rows
  EXPECT_EQ(std::set<std::string>({a.rows[0].id, a.rows[1].id, a.rows[2].id}).size(), 3u);
  EXPECT_EQ(a.rows, b.rows);
  EXPECT_TRUE(Bytes(first).startsWith("simhacheur relevés 2\t"));
  EXPECT_EQ(TNotebookFile(first).Load().rows, a.rows);
}

// Something else than a plain file where the notebook should be is refused at once, never
// waited on, and left as it is; what is recorded meanwhile waits, unsaved.
TEST(NotebookFile, RefusesWhatIsNotAPlainFile) {
  QTemporaryDir dir;
  const QString pipe = dir.filePath(QStringLiteral("pipe.tsv"));
  const QString folder = dir.filePath(QStringLiteral("folder.tsv"));
  ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  ASSERT_TRUE(QDir().mkdir(folder));
  for (const QString& path : {pipe, folder}) {
    SCOPED_TRACE(path.toStdString());
    alarm(20);  // a hang fails the test instead of stalling the run
    Copy copy(path);
    EXPECT_EQ(copy.store.Load(),
              QStringLiteral("Le fichier des relevés «\u202F%1\u202F» n'est pas un fichier "
                             "ordinaire\u202F; il ne sera pas remplacé et les nouveaux relevés ne "
                             "seront pas enregistrés.")
                  .arg(path));
    copy.store.Record(Reading("10:00"));
    copy.store.Refresh();
    alarm(0);
    EXPECT_EQ(copy.model.rowCount(), 1);
    EXPECT_EQ(copy.store.UnsavedRows().size(), 1u);
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_FALSE(QFileInfo(path).isFile());
  }
}

// ---------------------------------------------------------------------------------------------
// Two copies of the program on one file

// Two copies, each with its own objects, record, remove and clear in turn: every row that
// should be there is there, once, in both copies and in the file. Removals make the file grow
// dead lines, so rewrites (which the other copy must notice) happen along the way.
TEST(NotebookStore, TwoCopiesOnOneFileLoseNothingAndDoubleNothing) {
  for (unsigned seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(seed);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("releves.tsv"));
    Copy a(path), b(path);
    a.store.Load();
    b.store.Load();
    Copy* copies[] = {&a, &b};
    std::mt19937 random(seed);
    std::set<std::string> expected;
    int recorded = 0;
    for (int step = 0; step < 400; ++step) {
      Copy& copy = *copies[random() % 2];
      const unsigned action = random() % 20;
      if (action < 12) {
        TNotebookRow row = Reading(std::to_string(recorded++));
        row.id = NewNotebookRowId();
        ASSERT_EQ(copy.store.Record(row), QString());
        expected.insert(row.id);
      } else if (action < 17 && copy.model.rowCount() > 0) {
        QList<int> chosen;
        for (unsigned k = 0; k <= random() % 3; ++k) {
          chosen.append(int(random() % unsigned(copy.model.rowCount())));
          expected.erase(copy.model.Rows()[std::size_t(chosen.back())].id);
        }
        copy.model.RemoveRows(chosen);
      } else if (action < 18) {
        // What this copy shows goes; what the other one recorded since stays.
        for (const TNotebookRow& row : copy.model.Rows())
          expected.erase(row.id);
        copy.model.Clear();
      } else {
        ASSERT_EQ(copy.store.Refresh(), QString());
      }
    }
    a.store.Refresh();
    b.store.Refresh();
    const std::vector<std::string> onDisk = Ids(TNotebookFile(path).Load().rows);
    EXPECT_EQ(std::set<std::string>(onDisk.begin(), onDisk.end()), expected);
    EXPECT_EQ(onDisk.size(), expected.size());
    EXPECT_EQ(Ids(a.model.Rows()), onDisk);
    EXPECT_EQ(Ids(b.model.Rows()), onDisk);
    EXPECT_TRUE(a.reports.empty() && b.reports.empty());
    EXPECT_TRUE(a.store.UnsavedRows().empty() && b.store.UnsavedRows().empty());
  }
}

// Started by the tests below as another copy of the program, this test program records
// SIMHACHEUR_NOTEBOOK_ROWS rows into the file SIMHACHEUR_NOTEBOOK_CHILD, says what the store
// said, and does nothing else.
class ChildCopy : public testing::Environment {
 public:
  void SetUp() override {
    const QString path = qEnvironmentVariable("SIMHACHEUR_NOTEBOOK_CHILD");
    if (path.isEmpty()) return;
    const int rows = qEnvironmentVariableIntValue("SIMHACHEUR_NOTEBOOK_ROWS");
    Copy copy(path);
    QString messages = copy.store.Load();
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (int i = 0; i < rows; ++i)
      messages += copy.store.Record(Reading("enfant"));
    std::printf("message=%s\n", messages.toUtf8().constData());
    std::fflush(stdout);
    std::_Exit(0);
  }
};
const testing::Environment* const kChildCopy = testing::AddGlobalTestEnvironment(new ChildCopy);

// Runs the other copy; it starts recording once it has loaded the file. As root (a test
// machine), the copy runs as nobody, so that file rights hold for it.
QProcess* StartCopy(const QString& path, int rows, QObject* parent) {
  auto* process = new QProcess(parent);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("SIMHACHEUR_NOTEBOOK_CHILD"), path);
  environment.insert(QStringLiteral("SIMHACHEUR_NOTEBOOK_ROWS"), QString::number(rows));
  environment.insert(QStringLiteral("HOME"), QFileInfo(path).absolutePath());
  process->setProcessEnvironment(environment);
  process->setChildProcessModifier([] {
    if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
      _exit(3);
  });
  process->start(QCoreApplication::applicationFilePath(), {});
  return process;
}

QString ChildMessage(QProcess* process) {
  EXPECT_TRUE(process->waitForFinished(60'000));
  EXPECT_EQ(process->exitCode(), 0);
  for (const QByteArray& line : process->readAllStandardOutput().split('\n'))
    if (line.startsWith("message=")) return QString::fromUtf8(line.mid(8));
  ADD_FAILURE() << "no message from the other copy";
  return {};
}

// Two processes write to the file at the same time, one of them removing as many rows as it
// records, so that it also rewrites the file now and then: the lock keeps every row.
TEST(NotebookStore, TwoProcessesRecordAtOnce) {
  QTemporaryDir dir;
  ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
  const QString path = dir.filePath(QStringLiteral("releves.tsv"));
  Copy parent(path);
  ASSERT_EQ(parent.store.Load(), QString());
  ASSERT_EQ(parent.store.Record(Reading("parent")), QString());  // the file exists for both
  ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0666), 0);
  QObject owner;
  QProcess* child = StartCopy(path, 300, &owner);
  ASSERT_TRUE(child->waitForReadyRead(30'000));
  for (int i = 0; i < 300; ++i) {
    ASSERT_EQ(parent.store.Record(Reading("parent")), QString());
    if (i % 2 == 0) parent.model.RemoveRows({parent.model.rowCount() - 1});
  }
  EXPECT_EQ(ChildMessage(child), QString());
  ASSERT_EQ(parent.store.Refresh(), QString());
  std::map<std::string, int> counts;
  for (const TNotebookRow& row : parent.model.Rows())
    ++counts[row.time];
  EXPECT_EQ(counts["enfant"], 300);
  EXPECT_EQ(counts["parent"], 151);
  const std::vector<TNotebookRow> onDisk = TNotebookFile(path).Load().rows;
  EXPECT_EQ(onDisk, parent.model.Rows());
  const std::vector<std::string> ids = Ids(onDisk);
  EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), 451u);
  EXPECT_TRUE(parent.reports.empty());
}

// A folder or a file the user may not write to is said as such, not as a full disk; the row
// stays unsaved.
TEST(NotebookStore, SaysWhatCannotBeWritten) {
  QTemporaryDir dir;
  ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
  const QString readOnlyFolder = dir.filePath(QStringLiteral("dossier"));
  const QString writableFolder = dir.filePath(QStringLiteral("tp"));
  ASSERT_TRUE(QDir().mkdir(readOnlyFolder) && QDir().mkdir(writableFolder));
  const QString readOnlyFile = writableFolder + QStringLiteral("/releves.tsv");
  ASSERT_EQ(TNotebookFile(readOnlyFile).Save(kRows), QString());
  ASSERT_EQ(chmod(QFile::encodeName(readOnlyFolder).constData(), 0555), 0);
  ASSERT_EQ(chmod(QFile::encodeName(writableFolder).constData(), 0777), 0);
  ASSERT_EQ(chmod(QFile::encodeName(readOnlyFile).constData(), 0444), 0);
  const struct {
    QString path;
    QString why;
  } cases[] = {
      {readOnlyFolder + QStringLiteral("/releves.tsv"),
       QStringLiteral("le dossier «\u202F%1\u202F» n'est pas accessible en écriture")
           .arg(readOnlyFolder)},
      {readOnlyFile, QStringLiteral("le fichier est en lecture seule")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    const QString expected =
        QStringLiteral("Les relevés n'ont pas pu être enregistrés dans «\u202F%1\u202F»\u00A0: %2.")
            .arg(c.path, c.why);
    if (geteuid() == 0) {
      QObject owner;
      EXPECT_EQ(ChildMessage(StartCopy(c.path, 1, &owner)), expected);
    } else {
      Copy copy(c.path);
      copy.store.Load();
      EXPECT_EQ(copy.store.Record(Reading("10:00")), expected);
      EXPECT_EQ(copy.store.UnsavedRows().size(), 1u);
    }
  }
  EXPECT_EQ(TNotebookFile(readOnlyFile).Load().rows, kRows);
}

TEST(NotebookStore, RecordingPastTheMaximumIsRefused) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("releves.tsv"));
  Copy copy(path);
  copy.store.Load();
  copy.store.SetMaxRows(3);
  for (const char* time : {"a", "b", "c"})
    EXPECT_EQ(copy.store.Record(Reading(time)), QString());
  EXPECT_EQ(copy.store.Record(Reading("d")),
            QStringLiteral("Le point n'a pas été relevé\u00A0: le tableau des relevés en compte "
                           "déjà 3, le plus qu'il puisse garder. Exportez les relevés, puis "
                           "effacez-en pour en relever d'autres."));
  EXPECT_EQ(Times(copy.model), (std::vector<std::string>{"a", "b", "c"}));
  copy.model.RemoveRows({0});
  EXPECT_EQ(copy.store.Record(Reading("e")), QString());
  EXPECT_EQ(TNotebookFile(path).Load().rows, copy.model.Rows());
  EXPECT_EQ(Times(copy.model), (std::vector<std::string>{"b", "c", "e"}));
}

}  // namespace
