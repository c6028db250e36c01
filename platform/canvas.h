// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/color.h"

class QPainter;

namespace raster {
struct Surface;
struct LinePen;
}  // namespace raster

// A rectangle in pixels: left and top inside, right and bottom outside, so it covers
// Right - Left columns and Bottom - Top rows.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
  bool operator==(const TRect&) const = default;
};

struct TPoint {
  int X = 0;
  int Y = 0;
  bool operator==(const TPoint&) const = default;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode { pmCopy, pmNotXor };
enum TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};
enum TBackgroundMode { bkTransparent, bkOpaque };

// Text alignment flags, combined by addition: horizontal part left 0, right 2, centre 6;
// vertical part top 0, bottom 8.
inline constexpr int taLeft = 0;
inline constexpr int taRight = 2;
inline constexpr int taCenter = 6;
inline constexpr int taTop = 0;
inline constexpr int taBottom = 8;

struct TCanvasPen {
  TColor Color = clBlack;
  TPenStyle Style = psSolid;
  int Width = 1;
  TPenMode Mode = pmCopy;
  // A cosmetic one-pixel pen that sets every other pixel of a line, whatever Style says.
  bool AlternatePixels = false;
};

struct TCanvasBrush {
  TColor Color = clWhite;
  TBrushStyle Style = bsSolid;
};

struct TCanvasFont {
  QString Name = QStringLiteral("Arial");
  int Size = 8;  // points at 96 pixels per inch: the pixel height is Size * 96 / 72, rounded
  TColor Color = clBlack;
  bool Bold = false;
  bool Italic = false;
};

// The colour a TColor stands for: system colours (0x80000000 + index) come from the
// application's palette (button face, shadow, highlight), or from fixed defaults when there
// is no application. clDefault and clNone, which are markers and not colours, give black.
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);
// ToQColor as a plain 0x00BBGGRR colour.
TColor ResolveColor(TColor color);
// Fonts and the desktop palette exist only once a QGuiApplication does.
bool HasGuiApplication();
// Device pixels per logical pixel of what `painter` really draws on: the engine's device, since
// a grab redirects a widget's painter onto its pixmap.
qreal PaintDeviceRatio(const QPainter& painter);

// The raster drawing surface of the chart, over a QImage (Format_RGB32). Pens, brush, font and
// background are plain state read at each drawing call. Lines and rectangles are drawn pixel by
// pixel with fixed rules rather than by an antialiasing painter, so every drawing lands on
// known pixels:
//
// - LineTo draws from the pen position to (x, y) with the end point left out, choosing pixels
//   by Bresenham's rule (the major axis advances one pixel per step; the minor coordinate is
//   the ideal one rounded, halves going up), then moves the pen position to (x, y).
// - A pen of width w > 1 stamps, at each pixel of the one-pixel line, a w × w square spanning
//   offsets -(w - 1) / 2 .. w / 2 (integer division) on both axes.
// - Styled one-pixel pens repeat a pattern along the line, counted in pixels from the line's
//   first pixel: psDot 2 on, 2 off; psDash 6 on, 2 off; psDashDot 6 on, 2 off, 2 on, 2 off;
//   psDashDotDot 6 on, 2 off, 2 on, 2 off, 2 on, 2 off. Gaps are left untouched when the
//   background mode is transparent and painted in the background colour when it is opaque.
//   A solid wide line is the union of its squares, each pixel written once. A wide styled
//   line is w one-pixel lines, offset -(w - 1) / 2 .. w / 2 across its major axis, whose
//   pattern holds each place for w pixels (a 2-pixel dash: 12 on, 4 off) and whose gaps are
//   always left untouched; a wide styled
//   rectangle outline is its four edges drawn so, the pattern running on around the corners.
// - AlternatePixels draws the 1st, 3rd, 5th ... pixel of the line in the pen colour and leaves
//   the others untouched.
// - psClear draws nothing but still moves the pen position; it wins over AlternatePixels.
// - pmNotXor writes ~(pen ^ pixel) in each colour channel, so drawing the same line twice
//   restores the image. It applies to pen pixels and pattern gaps, never to brush fills.
// - Rectangle(x0, y0, x1, y1) outlines columns x0 and x1 - 1 and rows y0 and y1 - 1 with the
//   pen (each edge pixel once, even in not-xor mode; a pattern runs clockwise from (x0, y0)
//   and on around the corners) and fills the inside (x0 + 1 .. x1 - 2, y0 + 1 .. y1 - 2) with
//   the brush; with a clear pen the fill covers x0 .. x1 - 2 and y0 .. y1 - 2. Swapped
//   corners are put in order first; an empty rectangle draws nothing.
// - FillRect fills the rectangle's Width × Height pixels with the brush. A clear brush fills
//   nothing; hatched brushes draw one-pixel lines on an 8 × 8 grid anchored at the image's
//   origin (horizontal: rows y % 8 == 0; vertical: columns x % 8 == 0; forward diagonal:
//   (x + y) % 8 == 0... see canvas.cpp) in the brush colour, with the gaps following the
//   background mode.
// Every pixel write is clipped to the image and to the clip rectangle, when one is set.
//
// A canvas of Scale k > 1 draws for a screen of k device pixels per logical pixel: coordinates,
// clip, pen widths, patterns and fonts stay logical, and each logical pixel is the k × k block of
// device pixels at (k x, k y) of the image, which is k times the logical size. Straight lines,
// rectangles, fills and patterns cover exactly the blocks of their logical pixels; slanted lines
// are drawn along the device grid, k times as wide, and text is rendered at the device's
// resolution, so neither is an enlarged logical drawing. At Scale 1 everything above holds pixel
// for pixel.
//
// An image of another format is converted to Format_RGB32 in place when first drawn on. The
// image must outlive the canvas, or be released with SetTarget(nullptr) first. Drawing on a
// target that shares its pixels
// with a copy detaches it, as any QImage write does; show the image through a const reference
// rather than a copy, or each paint costs a full copy.
class TCanvas {
 public:
  TCanvas();
  explicit TCanvas(QImage* image);
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // The image drawn on; nullptr makes every drawing call do nothing.
  void SetTarget(QImage* image);
  QImage* Target() const { return image_; }
  // Device pixels per logical pixel, at least 1.
  void SetScale(int scale);
  int Scale() const { return scale_; }

  TCanvasPen Pen;
  TCanvasBrush Brush;
  TCanvasFont Font;
  TBackgroundMode BackgroundMode = bkOpaque;
  TColor BackgroundColor = clWhite;
  int TextAlign = taLeft + taTop;

  TPoint PenPos() const { return penPos_; }
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  // MoveTo(x, y0) and LineTo(x, y1) for each x in turn, the same pixels drawn faster.
  void VertLines(const int* xs, int count, int y0, int y1);
  // MoveTo(xs[0], ys[0]), then LineTo(xs[k], ys[k]) for each further k: the same pixels,
  // prepared once.
  void Polyline(const int* xs, const int* ys, int count);
  // MoveTo(ends[2k]) and LineTo(ends[2k + 1]) for each pair in turn, prepared once.
  void Segments(const TPoint* ends, int pairs);
  void Rectangle(int x0, int y0, int x1, int y1);
  void FillRect(const TRect& rect);

  // Writes the text with its reference point at (x, y), placed by TextAlign: the left, right
  // or centre of the text's box horizontally, and its top or bottom vertically. The box is
  // TextWidth wide and TextHeight high, its left edge at x - TextWidth / 2 when centred (the
  // division truncating), the baseline at the box's top plus the font's ascent. With an opaque
  // background the box is filled with the background colour first. Text is drawn in
  // Font.Color, clipped like everything else. Without a QGuiApplication nothing is drawn and
  // the extents are 0.
  void TextOut(int x, int y, const QString& text);
  int TextWidth(const QString& text) const;
  int TextHeight(const QString& text) const;

  // Drawing is confined to the intersection of the image and this rectangle until RemoveClip.
  void IntersectClipRect(const TRect& rect);
  void RemoveClip();
  bool HasClip() const { return hasClip_; }
  TRect ClipRect() const { return clip_; }

  // Copies `source` with its top-left corner at (x, y) of this canvas's image, ignoring the clip
  // and pen mode: a plain block copy. At Scale k the corner is device pixel (k x, k y) and
  // `source` is copied pixel for pixel (it is a device image already).
  void Draw(int x, int y, const QImage& source);

  // The QFont that text is drawn with: Font.Name at Font.Size points for 96 pixels per inch.
  QFont CurrentQFont() const;

 private:
  struct TFontCache;

  // Readies the target's pixels for writing; false when there is nothing to draw on.
  bool PrepareSurface(raster::Surface& surface, bool clipped = true);
  void FillWithBrush(const raster::Surface& surface, const TRect& rect) const;
  TFontCache& FontCache() const;
  static QRect InkedPart(const QImage& ink);
  // The text's cached rendering, and in `inked` the part of it that holds glyph pixels.
  const QImage& Ink(TFontCache& cache, const QString& text, QRect& inked) const;
  // `corner`: where the ink image's top-left pixel lands on the surface.
  static void BlendInk(const raster::Surface& s, TPoint corner, const QImage& ink,
                       const QRect& inked);
  // The drawing calls at Scale > 1.
  // Returns the pattern's phase for a line continuing this one, as DrawLine does.
  int ScaledLine(const raster::Surface& s, TPoint from, TPoint to, const raster::LinePen& pen,
                 int phase = 0) const;
  void ScaledRectangle(const raster::Surface& s, const TRect& r, const raster::LinePen* pen);
  void ScaledFill(const raster::Surface& s, const TRect& rect) const;

  QImage* image_ = nullptr;
  int scale_ = 1;
  // The target's pixels as last fetched; fetched again (after closing the painter) whenever
  // the image no longer owns exactly these pixels.
  std::uint32_t* bits_ = nullptr;
  TPoint penPos_;
  bool hasClip_ = false;
  TRect clip_;
  // One per face met so far (a chart draws with two or three), so switching fonts keeps the
  // laid-out texts of each.
  mutable std::vector<std::unique_ptr<TFontCache>> fontCaches_;
  mutable TFontCache* fontCache_ = nullptr;
};
