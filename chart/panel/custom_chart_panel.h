// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "chart/notifying.h"
#include "chart/panel/chart_canvas.h"
#include "chart/panel/chart_gradient.h"
#include "chart/panel/chart_hook.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// The chart as a window-system panel: margins, frame, the canvas and its off-screen image, the
// plotting rectangle, and the repaint machinery. Every paint is composed in the off-screen
// image and shown with one copy; a paint request on a clean image only copies it again, and
// the window system never erases the control first, so traces rebuilt on every change do not
// flicker.
class TCustomChartPanel : public QWidget {
  Q_OBJECT

 public:
  explicit TCustomChartPanel(QWidget* parent = nullptr);
  ~TCustomChartPanel() override;

  // --- Settings (each repaints when it changes) -------------------------------------------
  int MarginLeft() const { return marginLeft_; }
  void SetMarginLeft(int percent) { Set(marginLeft_, percent); }
  int MarginTop() const { return marginTop_; }
  void SetMarginTop(int percent) { Set(marginTop_, percent); }
  int MarginRight() const { return marginRight_; }
  void SetMarginRight(int percent) { Set(marginRight_, percent); }
  int MarginBottom() const { return marginBottom_; }
  void SetMarginBottom(int percent) { Set(marginBottom_, percent); }
  TColor Color() const { return color_; }
  void SetColor(TColor color) { Set(color_, color); }
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut cut) { Set(bevelOuter_, cut); }
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut cut) { Set(bevelInner_, cut); }
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int width) { Set(bevelWidth_, width); }
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int width) { Set(borderWidth_, width); }
  bool BufferedDisplay() const { return canvas_.BufferedDisplay; }
  void SetBufferedDisplay(bool buffered);

  // --- Repaints --------------------------------------------------------------------------------
  // Marks the image out of date and asks the window system for a paint (deferred: a thousand
  // calls before the next event loop turn make one paint). Nothing while constructing.
  virtual void InvalidateChart();
  // The image is out of date and a paint has been asked for: another InvalidateChart would
  // change nothing.
  bool RepaintRequested() const { return canvas_.BufferDirty && updatePending_; }
  // InvalidateChart, then the paint at once instead of at the next event loop turn.
  void RepaintChartNow();
  bool RepaintsSuppressed() const { return repaintsSuppressed_; }

  // Form loading: settings are being applied from the layout, so order checks wait.
  void BeginLoading() { loading_ = true; }
  virtual void EndLoading() { loading_ = false; }
  bool Loading() const { return loading_; }
  bool Destroying() const { return destroying_; }

  // --- One paint ---------------------------------------------------------------------------------
  // Paints the whole chart. Buffered: into BufferImage, then one copy onto `target` at the
  // rectangle's corner (no copy when target is null). Unbuffered: straight onto `target`.
  // The drawing is at the target's scale, or without one at the density of the last paint
  // event's device: BufferImage then holds scale × scale device pixels per logical pixel and
  // says so in its device pixel ratio, while every coordinate stays logical.
  void PaintChart(TCanvas* target, const TRect& rect);
  // The whole-number scale a device pixel ratio is drawn at (a fractional ratio takes the
  // nearest one and leaves the rest to the window system).
  static int DeviceScale(qreal ratio);
  // Device pixels per logical pixel of the last paint.
  int PaintScale() const { return canvas_.Surface().Scale(); }
  TRect ClientRect() const { return {0, 0, width(), height()}; }

  TChartCanvas3D& Canvas() { return canvas_; }
  const TChartCanvas3D& Canvas() const { return canvas_; }
  const QImage* BufferImage() const { return canvas_.BufferImage.get(); }
  bool BufferDirty() const { return canvas_.BufferDirty; }

  // The plotting rectangle of the last paint, kept between paints.
  TRect PlotRect;
  int PlotWidth() const { return PlotRect.Width(); }
  int PlotHeight() const { return PlotRect.Height(); }
  int PlotCenterX() const { return (PlotRect.Left + PlotRect.Right) / 2; }
  int PlotCenterY() const { return (PlotRect.Top + PlotRect.Bottom) / 2; }
  TRect PanelBounds;

  // Keeps PlotRect inside the panel and at least one pixel wide and high.
  void NormalizePlotRect();

 protected:
  // Everything drawn after the margins are known, in order (background and frame first).
  virtual void DrawChart();
  void DrawPanelBackground();
  void DrawPanelFrame();

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

  template <class T>
  void Set(T& field, const T& value) {
    SetAndNotify(field, value, [this] { InvalidateChart(); });
  }

  void EndConstruction() { repaintsSuppressed_ = false; }
  void BeginDestruction() { destroying_ = true; }

  TChartGradient gradient_;

 private:
  void DrawBevel(TRect& rect, TBevelCut cut);
  void PaintChartAt(TCanvas* target, const TRect& rect, int scale);

  TChartCanvas3D canvas_;
  int paintScale_ = 1;  // the density of the last paint event's device
  int marginLeft_ = 3;
  int marginTop_ = 4;
  int marginRight_ = 3;
  int marginBottom_ = 4;
  TColor color_ = clBtnFace;
  TBevelCut bevelOuter_ = bvRaised;
  TBevelCut bevelInner_ = bvNone;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  bool repaintsSuppressed_ = true;
  bool updatePending_ = false;
  bool loading_ = false;
  bool destroying_ = false;
};

// The directions a drag with the right button moves the axes in.
enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };

// Adds the background gradient and the mouse settings of zooming and panning.
class TCustomChartPanelExtended : public TCustomChartPanel {
  Q_OBJECT

 public:
  explicit TCustomChartPanelExtended(QWidget* parent = nullptr);

  TChartGradient& Gradient() { return gradient_; }
  const TChartGradient& Gradient() const { return gradient_; }

  bool AllowZoom() const { return allowZoom_; }
  void SetAllowZoom(bool allow) { Set(allowZoom_, allow); }
  TPanningMode AllowPanning() const { return allowPanning_; }
  void SetAllowPanning(TPanningMode mode) { Set(allowPanning_, mode); }
  bool AnimatedZoom() const { return animatedZoom_; }
  void SetAnimatedZoom(bool animated) { Set(animatedZoom_, animated); }
  int AnimatedZoomSteps() const { return animatedZoomSteps_; }
  void SetAnimatedZoomSteps(int steps) { Set(animatedZoomSteps_, steps); }

  // Puts back the scales of before the first zoom or pan (the chart with axes does the
  // restoring), raises OnUndoZoom and ZoomUndone, and repaints.
  virtual void ResetZoom();

  // One listener each; the signals below are raised at the same moment for any number.
  TChartHook<void(TCustomChartPanelExtended* sender)> OnZoom;
  TChartHook<void(TCustomChartPanelExtended* sender)> OnUndoZoom;
  TChartHook<void(TCustomChartPanelExtended* sender)> OnScroll;

 signals:
  void Zoomed(TCustomChartPanelExtended* sender);
  void ZoomUndone(TCustomChartPanelExtended* sender);
  void Scrolled(TCustomChartPanelExtended* sender);

 private:
  bool allowZoom_ = true;
  TPanningMode allowPanning_ = pmBoth;
  bool animatedZoom_ = false;
  int animatedZoomSteps_ = 8;
};
