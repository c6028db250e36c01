// The notebook's table model and its file.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <csignal>
#include <random>

#include "app/notebook_file.h"
#include "app/notebook_model.h"

#include <sys/resource.h>

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

TEST(NotebookModel, EveryChangeOfTheUserSignalledOnce) {
  TNotebookModel model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  QSignalSpy changed(&model, &TNotebookModel::Changed);
  for (const char* time : {"a", "b", "c", "d", "e"})
    model.Append(Reading(time));
  EXPECT_EQ(changed.count(), 5);
  model.RemoveRows({3, 0, 3, 9, -1});
  EXPECT_EQ(changed.count(), 6);
  EXPECT_EQ(Times(model), (std::vector<std::string>{"b", "c", "e"}));
  model.RemoveRows({7});  // nothing to remove, nothing changed
  model.SetRows({Reading("x"), Reading("y")});
  EXPECT_EQ(changed.count(), 6);
  EXPECT_EQ(model.rowCount(), 2);
  model.Clear();
  EXPECT_EQ(changed.count(), 7);
  EXPECT_EQ(model.rowCount(), 0);
}

// Few runs of rows go one by one, many in one pass: both keep the rest in order.
TEST(NotebookModel, RemovesLikeAReference) {
  std::mt19937 random(12345);
  for (int removed : {1, 5, 40, 150, 200}) {
    TNotebookModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    std::vector<TNotebookRow> rows;
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
     1500, std::nullopt, -2.5},
    {"", "a\\b\nc\r", "", "", "", "", std::nullopt, 1e-300, -1.7976931348623157e308, 1.0 / 3,
     std::nullopt},
    {}};

TEST(NotebookFile, ReadsBackWhatItWroteAndLeavesNoTemporaryFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("données/releves.tsv"));  // created on save
  TNotebookFile file(path);
  EXPECT_EQ(file.Load().message, QString());  // no file yet: an empty notebook
  ASSERT_EQ(file.Save(kRows), QString());
  EXPECT_TRUE(
      Bytes(path).startsWith("simhacheur relevés 1\n"
                             "2026-12-08 14:32:05\tHacheur 2 quadrants\tmoteur\\tà vide\t\tsens "
                             "1\t\t50\t0.1\t1500\t\t-2.5\n"
                             "\ta\\\\b\\nc\\r\t"));
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
  tiny.rlim_cur = 64;  // as a full disk looks to a write
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
  const struct {
    const char* what;
    QByteArray bytes;
    const char* why;
  } cases[] = {
      {"truncated", good.chopped(3), "(il est tronqué)"},
      {"garbage", QByteArray("\x89PNG\r\n\x1a\n\0\0\xff\xfe", 12),
       "(son texte n'est pas en UTF-8)"},
      {"foreign", "temps;U\n0;1\n", "(ce n'est pas un fichier de relevés de simhacheur)"},
      {"newer", "simhacheur relevés 2\n", "(il a été écrit par une autre version de simhacheur)"},
      {"empty", "", "(il est vide)"},
      {"short row", good + "10:01\t\t1\t2\n", "(ligne 3\u00A0: 4 champs au lieu de 11)"},
      {"bad number", good + "10:01\t\t\t\t\t\t1\t2,5\t3\t4\t5\n",
       "(ligne 3\u00A0: nombre illisible «\u202F2,5\u202F»)"},
      {"bad escape", good + "\\x\t\t\t\t\t\t1\t2\t3\t4\t5\n", "(ligne 3\u00A0: texte mal codé)"},
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

}  // namespace
