// SPDX-License-Identifier: GPL-3.0-or-later
// A course page the desktop cannot open: said with its path, and shown in the program.
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTextBrowser>
#include <QTimer>

#include "app/dialogs/page_viewer.h"
#include "platform/shell_open.h"
#include "tests/app/form_fixture.h"

namespace {

class HelpPageTest : public FormTest {
 protected:
  ~HelpPageTest() override { SetDocumentOpener(previousOpener); }
  // Answers the failure box with the button whose text starts with `choice`, noting what the
  // box said and offered.
  void AnswerWith(const char* choice) {
    QTimer::singleShot(0, [this, choice] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      said = box->text().toStdString();
      for (QAbstractButton* button : box->buttons()) {
        offered.push_back(button->text().toStdString());
        if (button->text().startsWith(choice)) button->click();
      }
    });
  }
  std::string PagePath(const char* page) {
    return QDir::toNativeSeparators(QDir(work.path()).filePath(page)).toStdString();
  }

  TDocumentOpener previousOpener;
  std::string said;
  std::vector<std::string> offered;
};

TEST_F(HelpPageTest, AFailedOpeningIsSaidAndThePageShownInTheProgram) {
  QFile page(QDir(work.path()).filePath("aide/cours1.htm"));
  ASSERT_TRUE(page.open(QIODevice::WriteOnly));
  page.write("<html><head><title>Cours 1</title></head><body>Le hacheur série</body></html>");
  page.close();
  previousOpener = SetDocumentOpener([](const QString&, const TOpenFailure& failed) {
    failed(QStringLiteral("aucune application n'a pu l'ouvrir"));
  });
  AnswerWith("&Afficher");
  Menu("cours1bases1");
  EXPECT_NE(said.find(PagePath("aide/cours1.htm")), std::string::npos) << said;
  EXPECT_NE(said.find("aucune application"), std::string::npos) << said;
  auto* viewer = form->findChild<TPageViewer*>();
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_EQ(viewer->windowTitle(), "Cours 1");
  EXPECT_TRUE(viewer->Browser()->toPlainText().contains("Le hacheur série"));
}

// The desktop's own action: a missing file is found before any opener runs, and there is
// nothing to show.
TEST_F(HelpPageTest, AMissingPageIsSaidWithNothingToShow) {
  previousOpener = SetDocumentOpener({});
  AnswerWith("&Fermer");
  Menu("ravailfaire1");
  EXPECT_NE(said.find(PagePath("aide/travail.htm")), std::string::npos) << said;
  EXPECT_NE(said.find("n'existe pas"), std::string::npos) << said;
  EXPECT_EQ(offered, std::vector<std::string>{"&Fermer"});
}

// Were the late answer shown, the box would wait for a click that never comes.
TEST_F(HelpPageTest, AnAnswerAfterTheWindowHasGoneIsDropped) {
  TOpenFailure later;
  previousOpener =
      SetDocumentOpener([&later](const QString&, const TOpenFailure& failed) { later = failed; });
  Menu("Sommaire1");
  form.reset();
  later(QStringLiteral("aucune application n'a pu l'ouvrir"));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
