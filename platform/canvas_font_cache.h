// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QRect>
#include <QStaticText>
#include <QString>
#include <cmath>
#include <cstddef>
#include <unordered_map>

#include "platform/canvas.h"

// A face's font and metrics, and the texts already laid out in it: a chart writes the same
// labels on every paint, and laying a text out costs far more than drawing it.
struct TCanvas::TFontCache {
  struct TLaidOut {
    QStaticText text;
    int width;
    // The text drawn once, antialiased, on a transparent image, in `inkColour`; later paints
    // blend it instead of drawing the glyphs again.
    QImage ink;
    QRect inked;  // the part of `ink` that holds any glyph pixel
    TColor inkColour = clNone;
    int inkScale = 1;  // device pixels per logical pixel of `ink`
  };
  static constexpr int kInkMargin = 3;  // glyphs may reach past their advance
  static constexpr std::size_t kMaxTexts = 1024;

  TFontCache(const TCanvasFont& f, const QFont& q)
      : face(f),
        font(q),
        metrics(q),
        ascent(static_cast<int>(std::ceil(QFontMetricsF(q).ascent()))),
        // The height of the text's box, rounded up on both sides of the baseline as the
        // layout's own platform measures it (13 pixels for 8-point Arial).
        height(ascent + static_cast<int>(std::ceil(QFontMetricsF(q).descent()))) {}

  const TLaidOut& LaidOut(const QString& text) {
    auto it = texts.find(text);
    if (it != texts.end()) return it->second;
    if (texts.size() >= kMaxTexts) texts.clear();  // a chart never needs this many at once
    QStaticText laidOut(text);
    laidOut.setTextFormat(Qt::PlainText);
    laidOut.setPerformanceHint(QStaticText::AggressiveCaching);
    laidOut.prepare(QTransform(), font);
    return texts
        .emplace(text,
                 TLaidOut{laidOut, metrics.horizontalAdvance(text), QImage(), QRect(), clNone, 1})
        .first->second;
  }

  TCanvasFont face;  // the colour is not part of it
  QFont font;
  QFontMetrics metrics;
  int ascent;
  int height;
  std::unordered_map<QString, TLaidOut> texts;
};
