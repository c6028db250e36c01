// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

// Draws an SVG file into an image over `background` (transparent for an icon). An empty size takes
// the drawing's own size (its width and height, or else its view box). Throws std::runtime_error
// when the file is missing or is not SVG that Qt can read.
QImage RenderSvg(const QString& path, QSize size = QSize(), QColor background = Qt::white);
