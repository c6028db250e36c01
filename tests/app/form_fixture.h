// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <string>

#include "app/dialogs/error_box.h"
#include "app/form1.h"
#include "app/lab/lab_tools.h"
#include "app/notebook/notebook_file.h"
#include "chart/chart.h"
#include "jpeg_writer.h"
#include "platform/picture_box.h"

// The main window in a working folder of its own, with the nine pictures (each of its own
// width, so the test can tell which one is shown) and the error box captured.
class FormTest : public testing::Test {
 protected:
  static inline const std::map<std::string, int> kPictureWidths = {
      {"vide0", 40},    {"vide", 41},         {"nonbranché", 42},
      {"branché", 43},  {"branchéself", 44},  {"1nonbranché", 45},
      {"1branché", 46}, {"1branchéself", 47}, {"ampere4q", 48}};

  FormTest() {
    QDir(work.path()).mkdir(QStringLiteral("image"));
    QDir(work.path()).mkdir(QStringLiteral("aide"));
    QFile(QDir(work.path()).filePath(QStringLiteral("aide/index.htm"))).open(QIODevice::WriteOnly);
    for (const auto& [name, width] : kPictureWidths)
      WritePicture(name, width);
    previousDirectory = QDir::currentPath();
    QDir::setCurrent(work.path());
    previousBox = SetErrorBoxHandler(
        [this](const QString& message) { errors.push_back(message.toStdString()); });
    QSettings().clear();  // each test starts as a first run, with an empty notebook
    QFile::remove(TNotebookFile::DefaultPath());
    form = std::make_unique<TForm1>();
  }
  ~FormTest() override {
    form.reset();
    SetErrorBoxHandler(previousBox);
    QDir::setCurrent(previousDirectory);
  }

  void WritePicture(const std::string& name, int width) {
    ASSERT_TRUE(WriteJpeg(PicturePath(name), Plain(width, 20, Qt::darkGreen), JpegKind::Rgb));
  }
  QString PicturePath(const std::string& name) const {
    return QDir(work.path())
        .filePath(QStringLiteral("image/%1.jpg").arg(QString::fromStdString(name)));
  }
  // The name of the picture shown, from its width.
  std::string Shown() {
    const int width = Find<TPictureBox>("Image1")->Picture().width();
    for (const auto& [name, w] : kPictureWidths) {
      if (w == width) return name;
    }
    return "<none>";
  }

  template <class T>
  T* Find(const char* name) {
    T* found = form->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QString Text(const char* name) { return Find<QLineEdit>(name)->text(); }
  bool Hidden(const char* name) { return Find<QWidget>(name)->isHidden(); }
  bool Enabled(const char* name) { return Find<QWidget>(name)->isEnabled(); }
  QColor PanelColour(const char* name) {
    return Find<QWidget>(name)->palette().color(QPalette::Window);
  }
  // A reading as the user's locale writes it: "10.40" becomes "10,40" on a French system.
  static QString Reading(const char* text) {
    return QString::fromLatin1(text).replace(QLatin1Char('.'), QLocale::system().decimalPoint());
  }
  void Menu(const char* name) { Find<QAction>(name)->trigger(); }
  void Select(const char* name) { Find<QRadioButton>(name)->click(); }
  const TBench& Bench() { return form->Bench(); }

  QTemporaryDir work;
  QString previousDirectory;
  TErrorBoxHandler previousBox;
  std::vector<std::string> errors;
  std::unique_ptr<TForm1> form;
};

inline const QColor kMoneyGreen(192, 220, 192);
