// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/panel/custom_chart.h"

void TChartTitle::SetFont(const TCanvasFont& font) {
  if (font.Name == font_.Name && font.Size == font_.Size && font.Color == font_.Color &&
      font.Bold == font_.Bold && font.Italic == font_.Italic) {
    return;
  }
  font_ = font;
  Changed();
}

TCustomChart::TCustomChart(QWidget* parent) : TCustomAxisPanel(parent) {
  const auto repaint = [this] { InvalidateChart(); };
  BackWall.OnChange = repaint;
  LeftWall.OnChange = repaint;
  BottomWall.OnChange = repaint;
  Title.OnChange = repaint;
  Foot.OnChange = repaint;
  Legend.OnChange = repaint;
  BackWall.Brush.SetStyle(bsClear);
  setMouseTracking(true);  // moves without a button held reach the read-out
  restCursor_ = cursor();
}

void TCustomChart::DrawTitlesAndLegend() {
  DrawTitle(Title, true);
  DrawTitle(Foot, false);
  // The legend is never shown on this screen; a visible one takes no room.
}

// A visible title with text is centred above (or below) the plot and takes its line off
// PlotRect; an empty or hidden one covers nothing and leaves PlotRect as it is.
void TCustomChart::DrawTitle(TChartTitle& title, bool atTop) {
  title.Bounds = {};
  if (!title.Visible() || title.Text().isEmpty()) return;
  TChartCanvas3D& canvas = Canvas();
  canvas.Font() = title.Font();
  const int height = canvas.LineHeight();
  const int width = canvas.TextWidthOf(title.Text());
  const int x = PlotCenterX();
  const int y = atTop ? PlotRect.Top : PlotRect.Bottom - height;
  canvas.SetBackgroundMode(bkTransparent);
  canvas.SetTextAlignment(taCenter);
  canvas.PutText(x, y, title.Text());
  canvas.SetTextAlignment(taLeft + taTop);
  title.Bounds = {x - width / 2, y, x - width / 2 + width, y + height};
  if (atTop) {
    PlotRect.Top += height;
  } else {
    PlotRect.Bottom -= height;
  }
  NormalizePlotRect();
}

void TCustomChart::DrawBackWall() {
  TChartCanvas3D& canvas = Canvas();
  canvas.UseChartPen(BackWall.Pen);
  const TChartBrush& brush = BackWall.Brush;
  TCanvasBrush& target = canvas.Brush();
  if (BackWall.Color() == clDefault && brush.Style() == bsSolid) {
    target.Style = bsClear;
  } else {
    target.Color = BackWall.Color();
    target.Style = brush.Style();
    if (brush.Style() != bsSolid) {
      canvas.SetBackgroundMode(bkOpaque);
      canvas.SetBackgroundColor(brush.Color());
      // A hatch in the background's own colour would not show.
      if (BackWall.Color() == brush.Color())
        target.Color = brush.Color() == clBlack ? clWhite : clBlack;
    } else {
      canvas.SetBackgroundMode(bkTransparent);
    }
  }
  // The frame lines lie on the four edges of PlotRect, all inclusive.
  canvas.DrawRectangle(PlotRect.Left, PlotRect.Top, PlotRect.Right + 1, PlotRect.Bottom + 1);
}
