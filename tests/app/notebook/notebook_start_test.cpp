// SPDX-License-Identifier: GPL-3.0-or-later
// The notebook as the program starts and closes: the file read behind the window, F5 kept in
// order meanwhile, and the unsaved rows' export opened where the other exports open.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <tuple>
#include <vector>

#include "app/dialogs/error_box.h"
#include "app/notebook/notebook_controller.h"
#include "app/notebook/notebook_file.h"
#include "app/notebook/notebook_model.h"
#include "app/notebook/unsaved_rows_box.h"
#include "sim/bench.h"

namespace {

// A notebook file of `count` rows, written as the program writes them, in a blink.
std::vector<std::string> WriteNotebook(const QString& path, int count) {
  std::vector<std::string> ids;
  QByteArray text = "simhacheur relevés 2\t" + QByteArray(32, 'a') + '\n';
  text.reserve(qsizetype{count} * 96);
  for (int k = 0; k < count; ++k) {
    const QByteArray id = QByteArray::number(k, 16).rightJustified(32, '0');
    ids.push_back(id.toStdString());
    text += "+\t2026-01-05 10:00:00\tHacheur 2 quadrants\t\t\t\t\t" + QByteArray::number(k % 100) +
            '\t' + QByteArray::number(k % 1000 / 10.0) + '\t' + QByteArray::number(k % 3000) +
            "\t\t\t" + id + '\n';
  }
  EXPECT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
  return ids;
}

class NotebookStartTest : public testing::Test {
 protected:
  NotebookStartTest() {
    previousBox = SetErrorBoxHandler([this](const QString& m) { errors.push_back(m); });
    QFile::remove(TNotebookFile::DefaultPath());
  }
  ~NotebookStartTest() override {
    SetErrorBoxHandler(previousBox);
    QFile::remove(TNotebookFile::DefaultPath());
  }

  QWidget window;
  TBench bench;
  std::vector<QString> errors;
  TErrorBoxHandler previousBox;
};

// The window is up before the rows are read; F5 meanwhile lands after them, on screen and in
// the file, and the "Relevés" window shows how far the reading is.
TEST_F(NotebookStartTest, TheStartDoesNotWaitForTheRowsAndF5KeepsItsPlace) {
#if defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
  constexpr int kRows = 20'000;  // the unoptimised builds are slow enough with these
#else
  constexpr int kRows = 200'000;
#endif
  const std::vector<std::string> ids = WriteNotebook(TNotebookFile::DefaultPath(), kRows);
  TNotebookController notebook(&window, bench);
  const TNotebookModel* model = notebook.findChild<TNotebookModel*>();
  EXPECT_EQ(model->rowCount(), 0);
  notebook.Record();
  notebook.ShowWindow();
  auto* progress = window.findChild<QProgressBar*>(QStringLiteral("LoadProgress"));
  auto* clear = window.findChild<QPushButton*>(QStringLiteral("ClearButton"));
  ASSERT_TRUE(progress != nullptr && clear != nullptr);
  EXPECT_TRUE(progress->isVisible());
  EXPECT_FALSE(clear->isEnabled());  // clearing now would leave the rows still coming
  notebook.Record();
  ASSERT_TRUE(QTest::qWaitFor([&] { return model->rowCount() == kRows + 2; }, 120'000));
  EXPECT_FALSE(progress->isVisible());
  EXPECT_TRUE(clear->isEnabled());
  for (std::size_t i : {std::size_t{0}, std::size_t{kRows - 1}})
    EXPECT_EQ(model->Rows()[i].id, ids[i]);
  EXPECT_NE(model->Rows()[kRows].time, model->Rows()[0].time);  // recorded now, not read
  EXPECT_EQ(TNotebookFile(TNotebookFile::DefaultPath()).Load().rows, model->Rows());
  EXPECT_TRUE(errors.empty());
}

// Where a folder stands in the notebook file's place, nothing is saved: that stays in sight in
// "Relevés", and the close question's export opens by the rule of every save dialog: the last
// folder if it can be written and is not the program's or the working one, else Documents,
// else the home folder.
TEST_F(NotebookStartTest, UnsavedRowsStayInSightAndTheirExportOpensWhereOthersDo) {
  QTemporaryDir home, elsewhere;
  const QByteArray savedHome = qgetenv("HOME");
  qputenv("HOME", QFile::encodeName(home.path()));  // the tests' data folder goes with it
  ASSERT_TRUE(QDir().mkpath(TNotebookFile::DefaultPath()));
  QString proposed;
  const TUnsavedRowsHandlers previous =
      SetUnsavedRowsHandlers({[](const QString&) { return TUnsavedRowsAnswer::kExport; },
                              [&](const QString& path) {
                                return (proposed = QFileInfo(path).absolutePath(), QString());
                              }});
  TNotebookController notebook(&window, bench);
  notebook.Record();
  ASSERT_FALSE(notebook.Saved());
  notebook.ShowWindow();
  auto* label = window.findChild<QLabel*>(QStringLiteral("SaveProblemLabel"));
  ASSERT_NE(label, nullptr);
  EXPECT_TRUE(label->isVisible() && label->text() == notebook.SaveProblem());
  const QString documents = home.filePath(QStringLiteral("Documents"));
  const std::tuple<QString, bool, QString> cases[] = {{QDir::currentPath(), false, home.path()},
                                                      {QDir::currentPath(), true, documents},
                                                      {elsewhere.path(), true, elsewhere.path()}};
  for (const auto& [last, withDocuments, expected] : cases) {
    withDocuments ? QDir().mkpath(documents) : QDir(documents).removeRecursively();
    QSettings().setValue(QStringLiteral("fichiers/dossier"), last);
    EXPECT_FALSE(notebook.CloseWithUnsavedRows());
    EXPECT_EQ(proposed, expected);
  }
  SetUnsavedRowsHandlers(previous);
  QDir(QFileInfo(TNotebookFile::DefaultPath()).absolutePath()).removeRecursively();
  qputenv("HOME", savedHome);
}

}  // namespace
