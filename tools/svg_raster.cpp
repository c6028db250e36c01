// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/svg_raster.h"

#include <QPainter>
#include <QSvgRenderer>

#include <stdexcept>

QImage RenderSvg(const QString& path, QSize size, QColor background) {
  QSvgRenderer renderer(path);
  if (!renderer.isValid())
    throw std::runtime_error("not a readable SVG file: " + path.toStdString());
  if (size.isEmpty()) size = renderer.defaultSize();
  if (size.isEmpty()) throw std::runtime_error("SVG file without a size: " + path.toStdString());

  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(background);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  renderer.render(&painter);
  return image;
}
