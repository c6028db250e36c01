// SPDX-License-Identifier: GPL-3.0-or-later
// An exception raised under any kind of entry point of the program (a menu entry, a radio
// button, a speed bar, a speed box, the chart's events, the notebook's window, the notebook
// saving a change) is said in the error box and goes no further: the window keeps working.
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <new>
#include <stdexcept>

#include "app/dialogs/confirmation_box.h"
#include "app/notebook/notebook_model.h"
#include "app/save_file.h"
#include "app/save_folder.h"
#include "form_fixture.h"

namespace {

enum class TThrown { kStandard, kOutOfMemory, kOther };

[[noreturn]] void Throw(TThrown kind) {
  switch (kind) {
    case TThrown::kStandard:
      throw std::runtime_error("panne simulée");
    case TThrown::kOutOfMemory:
      throw std::bad_alloc();
    case TThrown::kOther:
      throw 42;  // not a standard exception: nothing to read from it
  }
  throw 0;
}

class FaultTest : public FormTest {
 protected:
  ~FaultTest() override { Disarm(); }
  void Disarm() {
    SetSaveFileDialog({});
    SetSaveFileWriter({});
    SetConfirmationHandler({});
    if (form) {
      for (const char* series : {"Series1", "Series2"})
        Find<TChartSeries>(series)->OnClearValues = nullptr;
    }
    WritePicture("branché", kPictureWidths.at("branché"));
  }
  void ThrowOnClear(const char* series, TThrown kind) {
    Find<TChartSeries>(series)->OnClearValues = [kind](TChartSeries*) { Throw(kind); };
  }
  void TwoQuadrantsWired() {
    Menu("Hacheur2quadrantsvisualisationdestensions1");
    Select("RadioButton8");
  }
};

TEST_F(FaultTest, EveryEntryPointSaysTheFaultAndTheWindowKeepsWorking) {
  const struct {
    const char* entry;
    std::function<void()> arm, act;
    QString said;
  } cases[] = {
      {"menu entry",
       [] {
         SetSaveFileDialog([](const QString&, const QString&, const QString&) -> QString {
           Throw(TThrown::kStandard);
         });
       },
       [this] { Menu("Enregistrerlcrandeloscilloscope1"); }, "panne simulée"},
      {"radio button",
       [this] {
         Menu("Hacheur2quadrantsvisualisationdestensions1");
         QFile picture(PicturePath("branché"));
         ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
         picture.write("pas un JPEG");
       },
       [this] { Select("RadioButton8"); }, "Impossible d'ouvrir le fichier image/branché.jpg"},
      {"speed bar",
       [this] {
         TwoQuadrantsWired();
         ThrowOnClear("Series1", TThrown::kOutOfMemory);
       },
       [this] {
         Find<QScrollBar>("ScrollBar1")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
       },
       "std::bad_alloc"},
      {"speed box",
       [this] {
         TwoQuadrantsWired();
         ThrowOnClear("Series1", TThrown::kOther);
       },
       [this] {
         QLineEdit* box = Find<QLineEdit>("Edit1");
         box->selectAll();
         QTest::keyClicks(box, QStringLiteral("50"));
         QTest::keyClick(box, Qt::Key_Return);
       },
       "Une erreur inattendue a interrompu l'opération."},
      {"chart event", [this] { ThrowOnClear("Series2", TThrown::kStandard); },
       [this] {
         auto* chart = Find<TChart>("Chart1");
         QTest::mouseDClick(chart, Qt::LeftButton, {}, chart->rect().center());
       },
       "panne simulée"},
      {"notebook window",
       [this] {
         form->Releverlepoint1Click();
         Menu("Relevs1");
         SetConfirmationHandler([](const QString&) -> bool { Throw(TThrown::kOutOfMemory); });
       },
       [this] { form->findChild<QPushButton*>(QStringLiteral("ClearButton"))->click(); },
       "std::bad_alloc"},
      // Two rows whose writing failed: removing one writes the other, which fails again.
      {"notebook saving a change",
       [this] {
         SetSaveFileWriter(
             [](const QString&, const QByteArray&) -> TSaveOutcome { Throw(TThrown::kStandard); });
         Menu("Releverlepoint1");
         Menu("Releverlepoint1");
         ASSERT_EQ(form->Notebook()->Rows().size(), 2u);
       },
       [this] { form->Notebook()->RemoveRows({0}); }, "panne simulée"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    form.reset();
    QFile::remove(TNotebookFile::DefaultPath());
    form = std::make_unique<TForm1>();
    c.arm();
    errors.clear();
    c.act();
    EXPECT_EQ(errors, std::vector<std::string>{c.said.toStdString()});
    // The window goes on: another experiment, its readings and its description.
    Disarm();
    errors.clear();
    Menu("Hacheur4quadrantsvisualisationdesintensits1");
    EXPECT_EQ(Bench().ExperimentKind(), TExperiment::kFourQuadrants);
    EXPECT_EQ(Text("LabeledEdit3"), QStringLiteral("0"));
    EXPECT_TRUE(Find<TChart>("Chart1")->accessibleDescription().startsWith(
        QStringLiteral("Hacheur 4 quadrants")));
    EXPECT_TRUE(errors.empty());
  }
}

}  // namespace
