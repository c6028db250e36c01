// SPDX-License-Identifier: GPL-3.0-or-later
// The settings that name exports and printed pages come from the bench's values, and each
// set-point is the one its panel's bar and box show.
#include <QScrollBar>
#include <functional>

#include "app/lab/bench_settings.h"
#include "tests/app/form_fixture.h"

namespace {

using TPairs = QList<QPair<QString, QString>>;

class BenchSettingsTest : public FormTest {
 protected:
  void Drag(const char* bar, int position) { Find<QScrollBar>(bar)->setSliderPosition(position); }
};

TEST_F(BenchSettingsTest, EachPanelAndSetPointAsTheScreenShowsIt) {
  const QString pc = QStringLiteral("\u00A0%");
  const struct {
    const char* scene;
    std::function<void()> play;
    TPairs want;
  } rows[] = {
      {"at start, no panel", [] {}, {}},
      {"one quadrant, wiring only, bar at 50 %",
       [this] {
         Menu("Hacheur1quadrant1");
         Select("RadioButton2");
         Drag("ScrollBar1", 100);
       },
       {{"Choix du branchement", "moteur branché avec effet de self"},
        {"Réglage vitesse %", "50" + pc}}},
      {"two quadrants, nothing chosen but the wiring",
       [this] {
         Menu("Hacheur2quadrantsvisualisationdestensions1");
         Select("RadioButton1");
       },
       {{"Choix du branchement", "moteur non branché"},
        {"Choix du hacheur", "non choisi"},
        {"Choix du sens de rotation", "non choisi"},
        {"Réglage vitesse %", "0" + pc}}},
      // Machine n°1's bar is in the panel named after it, machine n°2's in the other.
      {"four quadrants, machine n°1 driving at 30 %",
       [this] {
         Menu("Hacheur4quadrantsvisualisationdesintensits1");
         Select("RadioButton12");
         Select("RadioButton10");
         Drag("ScrollBar2", 60);
       },
       {{"Choix de la machine motrice", "machine n°1 motrice"},
        {"Choix du sens de rotation", "horaire"},
        {"Réglage vitesse % moteur1", "30" + pc},
        {"Réglage vitesse % moteur2", "0" + pc}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.scene);
    row.play();
    const TPairs settings = BenchSettings(form->Bench());
    EXPECT_EQ(settings, row.want);
    // What the page says of a set-point is what the box beside its bar shows.
    for (const auto& [panel, box] : {std::pair{"Réglage vitesse %", "Edit1"},
                                     {"Réglage vitesse % moteur1", "Edit2"},
                                     {"Réglage vitesse % moteur2", "Edit3"}}) {
      for (const auto& setting : settings) {
        if (setting.first == QString::fromUtf8(panel)) {
          EXPECT_EQ(setting.second, Text(box) + pc);
        }
      }
    }
  }
}

}  // namespace
