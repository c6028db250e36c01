#pragma once

#include <QString>

#include "chart/chart_wall.h"
#include "chart/custom_axis_panel.h"

// A text line above (title) or below (foot) the plot. The rectangle it covered at its last
// drawing is what clicks are tested against.
class TChartTitle {
 public:
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { Set(visible_, visible); }
  const QString& Text() const { return text_; }
  void SetText(const QString& text) { Set(text_, text); }
  const TCanvasFont& Font() const { return font_; }
  void SetFont(const TCanvasFont& font);

  // Left and top edges inside, right and bottom outside; never hit when hidden or empty.
  bool HitTest(int x, int y) const { return visible_ && Bounds.Contains(x, y); }
  TRect Bounds;

  std::function<void()> OnChange;

 private:
  template <class T>
  void Set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    if (OnChange) OnChange();
  }

  bool visible_ = true;
  QString text_;
  TCanvasFont font_{QStringLiteral("Arial"), 10, clBlue};
};

class TChartLegend {
 public:
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    if (OnChange) OnChange();
  }
  std::function<void()> OnChange;

 private:
  bool visible_ = true;
};

// Adds the walls, titles and legend.
class TCustomChart : public TCustomAxisPanel {
  Q_OBJECT

 public:
  explicit TCustomChart(QWidget* parent = nullptr);

  TChartWall BackWall;
  TChartWall LeftWall{0x80FFFF};
  TChartWall BottomWall{clWhite};
  TChartTitle Title;
  TChartTitle Foot;
  TChartLegend Legend;

 protected:
  void DrawTitlesAndLegend() override;
  void DrawBackWall() override;

 private:
  void DrawTitle(TChartTitle& title, bool atTop);
};
