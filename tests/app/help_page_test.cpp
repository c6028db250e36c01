// A course page the desktop cannot open: said with its path, and shown in the program.
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>

#include "app/page_viewer.h"
#include "form_fixture.h"
#include "platform/shell_open.h"

namespace {

class HelpPageTest : public FormTest {
 protected:
  HelpPageTest() {
    QFile page(QDir(work.path()).filePath("aide/cours1.htm"));
    EXPECT_TRUE(page.open(QIODevice::WriteOnly));
    page.write(
        "<html><head><title>Cours 1</title></head><body><p>Le hacheur série</p></body>"
        "</html>");
  }
  ~HelpPageTest() override { SetDocumentOpener(previousOpener); }

  // Answers the failure box with the button whose text starts with `choice`, and notes what
  // the box said and offered.
  void AnswerWith(const QString& choice) {
    QTimer::singleShot(0, [this, choice] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      said = box->text();
      for (QAbstractButton* button : box->buttons()) {
        offered.push_back(button->text());
        if (button->text().startsWith(choice)) button->click();
      }
    });
  }

  TDocumentOpener previousOpener;
  QString said;
  std::vector<QString> offered;
};

TEST_F(HelpPageTest, AFailedOpeningIsSaidAndThePageShownInTheProgram) {
  const QString path = QDir::toNativeSeparators(QDir(work.path()).filePath("aide/cours1.htm"));
  previousOpener = SetDocumentOpener([](const QString&, const TOpenFailure& failed) {
    failed(QStringLiteral("aucune application n'a pu l'ouvrir"));
  });
  AnswerWith(QStringLiteral("&Afficher"));
  Menu("cours1bases1");
  EXPECT_TRUE(said.contains(path)) << said.toStdString();
  EXPECT_TRUE(said.contains("aucune application")) << said.toStdString();
  auto* viewer = form->findChild<TPageViewer*>();
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_EQ(viewer->windowTitle(), "Cours 1");
  EXPECT_TRUE(viewer->Browser()->toPlainText().contains("Le hacheur série"));
  EXPECT_TRUE(errors.empty());
  viewer->close();  // deleted on closing
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(form->findChild<TPageViewer*>(), nullptr);
}

TEST_F(HelpPageTest, AMissingPageIsSaidWithNothingToShow) {
  // The desktop's own action: the missing file is found before any opener runs.
  previousOpener = SetDocumentOpener({});
  AnswerWith(QStringLiteral("&Fermer"));
  Menu("ravailfaire1");
  EXPECT_TRUE(
      said.contains(QDir::toNativeSeparators(QDir(work.path()).filePath("aide/travail.htm"))))
      << said.toStdString();
  EXPECT_TRUE(said.contains("n'existe pas")) << said.toStdString();
  EXPECT_EQ(offered, std::vector<QString>{"&Fermer"});
  EXPECT_EQ(form->findChild<TPageViewer*>(), nullptr);
}

TEST_F(HelpPageTest, AnAnswerAfterTheWindowHasGoneIsDropped) {
  TOpenFailure later;
  previousOpener =
      SetDocumentOpener([&later](const QString&, const TOpenFailure& failed) { later = failed; });
  Menu("Sommaire1");
  form.reset();
  ASSERT_TRUE(later);
  later(QStringLiteral("aucune application n'a pu l'ouvrir"));  // would show a box on nothing
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
