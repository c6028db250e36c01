// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/lab/export.h"

#include <QBuffer>
#include <QPainter>
#include <QRegularExpression>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "app/csv_text.h"
#include "app/save_file.h"
#include "sim/number_text.h"

QByteArray TracesCsv(const QList<TCsvTrace>& traces, const QLocale& locale) {
  const bool decimalComma = locale.decimalPoint() == QStringLiteral(",");
  const QChar separator = decimalComma ? u';' : u',';

  QString text = QStringLiteral("temps (ms)");
  for (const TCsvTrace& trace : traces)
    text += separator + CsvText(QStringLiteral("%1 (%2)").arg(trace.name, trace.unit), separator);
  text += u'\n';

  const auto size = static_cast<std::size_t>(traces.size());
  std::vector<int> next(size, 0), count(size, 0);
  for (std::size_t i = 0; i < size; ++i) {
    const TCsvTrace& trace = traces[static_cast<qsizetype>(i)];
    if (trace.times != nullptr && trace.values != nullptr) count[i] = std::max(0, trace.count);
  }
  const auto timeOf = [&](std::size_t i) {
    return traces[static_cast<qsizetype>(i)].times[next[i]];
  };
  // A merge of the traces by time: each row takes the earliest pending point, and every trace
  // whose pending point has that same time. The earliest one always moves on, so a time that
  // compares unequal to everything (NaN) still ends the walk.
  for (;;) {
    std::size_t first = size;
    for (std::size_t i = 0; i < size; ++i) {
      if (next[i] < count[i] && (first == size || timeOf(i) < timeOf(first))) first = i;
    }
    if (first == size) break;
    const double time = timeOf(first);
    text += CsvNumber(time, decimalComma);
    for (std::size_t i = 0; i < size; ++i) {
      text += separator;
      if (i == first || (next[i] < count[i] && timeOf(i) == time)) {
        text += CsvNumber(traces[static_cast<qsizetype>(i)].values[next[i]], decimalComma);
        ++next[i];
      }
    }
    text += u'\n';
  }
  return text.toUtf8();
}

TExportResult SaveTracesCsv(const QString& path, const QList<TCsvTrace>& traces,
                            const QLocale& locale) {
  return {SaveFileOrSayWhy(path, TracesCsv(traces, locale))};
}

TExportResult SaveImagePng(const QImage& image, const QString& path) {
  if (image.isNull()) return {CannotWriteMessage(path, QStringLiteral("l'image est vide"))};
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG"))
    return {CannotWriteMessage(path, QStringLiteral("l'image n'a pas pu être codée en PNG"))};
  return {SaveFileOrSayWhy(path, bytes)};
}

QStringList ScreenCaptionLines(const TScreenCaption& caption) {
  QStringList lines;
  if (!caption.experiment.isEmpty()) lines << caption.experiment;
  QStringList settings;
  for (const auto& [label, value] : caption.settings)
    settings << QStringLiteral("%1\u00A0: %2").arg(label, value);
  if (!settings.isEmpty()) lines << settings.join(QStringLiteral("\u202F; "));
  QString axes = QStringLiteral("Axe vertical\u00A0: u (V)\u202F; axe horizontal\u00A0: t (ms)");
  if (!caption.current.isEmpty())
    axes += QStringLiteral("\u202F; axe de droite (voie 2)\u00A0: %1 (A)").arg(caption.current);
  lines << axes;
  if (caption.date.isValid()) {
    const QLocale french(QLocale::French);
    lines << QStringLiteral("Enregistré le %1 à %2")
                 .arg(french.toString(caption.date.date(), QLocale::LongFormat),
                      french.toString(caption.date.time(), QLocale::ShortFormat));
  }
  return lines;
}

QImage CaptionedScreen(const QImage& screen, const TScreenCaption& caption) {
  if (screen.isNull()) return {};
  const QStringList lines = ScreenCaptionLines(caption);
  const qreal ratio = screen.devicePixelRatio();
  const qreal width = screen.width() / ratio;  // what the user saw, in the screen's own units
  // Type in proportion to the screen, within sizes that read well on paper and on screen.
  const int pixelSize = qRound(std::clamp(width / 48, 11.0, 18.0));
  const qreal margin = 0.75 * pixelSize;
  QFont body(QStringLiteral("Liberation Sans"));
  body.setStyleHint(QFont::SansSerif);
  body.setPixelSize(pixelSize);
  QFont bold = body;
  bold.setBold(true);

  // Laid out on an image of the strip's pixel ratio, so the metrics are those it is drawn with.
  QImage device(1, 1, QImage::Format_RGB32);
  device.setDevicePixelRatio(ratio);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);  // a word wider than the strip
  std::vector<std::unique_ptr<QTextLayout>> layouts;              // breaks, it is never cut
  qreal y = margin;
  for (const QString& line : lines) {
    const bool title = layouts.empty() && !caption.experiment.isEmpty();
    auto& layout =
        layouts.emplace_back(std::make_unique<QTextLayout>(line, title ? bold : body, &device));
    layout->setTextOption(option);
    layout->beginLayout();
    for (QTextLine row = layout->createLine(); row.isValid(); row = layout->createLine()) {
      row.setLineWidth(std::max(width - 2 * margin, 1.0));
      row.setPosition(QPointF(margin, y));
      y += row.height();
    }
    layout->endLayout();
    y += 0.3 * pixelSize;
  }
  const int stripHeight = static_cast<int>(std::ceil((y + 0.7 * margin) * ratio));

  QImage strip(screen.width(), stripHeight, QImage::Format_RGB32);
  strip.setDevicePixelRatio(ratio);
  strip.fill(Qt::white);
  {
    QPainter painter(&strip);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.setPen(QPen(QColor(0xB0, 0xB0, 0xB0), 1));
    painter.drawLine(QPointF(0, 0.5), QPointF(width, 0.5));
    painter.setPen(QColor(0x20, 0x20, 0x20));
    for (const auto& layout : layouts)
      layout->draw(&painter, QPointF(0, 0));
  }

  // The screen's rows copied as they are, the strip's below: no drawing reaches the screen.
  const QImage::Format format =
      screen.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
  const QImage top = screen.convertToFormat(format);
  const QImage bottom = strip.convertToFormat(format);
  QImage result(screen.width(), screen.height() + stripHeight, format);
  const auto rowBytes = static_cast<std::size_t>(screen.width()) * 4;
  for (int row = 0; row < top.height(); ++row)
    std::memcpy(result.scanLine(row), top.constScanLine(row), rowBytes);
  for (int row = 0; row < bottom.height(); ++row)
    std::memcpy(result.scanLine(top.height() + row), bottom.constScanLine(row), rowBytes);
  result.setDevicePixelRatio(ratio);

  result.setText(QStringLiteral("Title"), caption.experiment.isEmpty()
                                              ? QStringLiteral("Écran de l'oscilloscope")
                                              : caption.experiment);
  result.setText(QStringLiteral("Description"),
                 (caption.experiment.isEmpty() ? lines : lines.mid(1)).join(u'\n'));
  if (caption.date.isValid())
    result.setText(QStringLiteral("Creation Time"), caption.date.toString(Qt::RFC2822Date));
  return result;
}

QString DefaultExportFileName(const QString& experimentTag, const QString& extension) {
  QString tag;
  // Compatibility decomposition splits "é" into "e" and its accent, "²" into "2", "ﬁ" into "fi".
  for (const QChar c : experimentTag.normalized(QString::NormalizationForm_KD)) {
    if (c.category() == QChar::Mark_NonSpacing) continue;
    if (c.isSpace()) {
      tag += u'_';
    } else if (c == u'%') {
      while (tag.endsWith(u'_'))  // "50 %" → "50pc"
        tag.chop(1);
      tag += QStringLiteral("pc");
    } else if (c == u'œ' || c == u'Œ' || c == u'æ' || c == u'Æ') {
      // Ligatures have no decomposition; "cœur" is spelt "coeur" without one.
      const QString letters = c == u'œ' || c == u'Œ' ? QStringLiteral("oe") : QStringLiteral("ae");
      tag += c.isUpper() ? letters.toUpper() : letters;
    } else if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
               c == u'-' || c == u'.' || c == u'_') {
      tag += c;
    } else {
      tag += u'-';  // slashes, colons, quotes and the rest: nothing a file system may refuse
    }
  }
  static const QRegularExpression dashes(QStringLiteral("[_-]*-[_-]*"));
  static const QRegularExpression blanks(QStringLiteral("_+"));
  static const QRegularExpression ends(QStringLiteral("^[._-]+|[._-]+$"));
  tag.replace(dashes, QStringLiteral("-")).replace(blanks, QStringLiteral("_"));
  tag = tag.left(80).remove(ends);  // a leading dot would hide the file

  QString name = QStringLiteral("oscillogramme");
  if (!tag.isEmpty()) name += u'_' + tag;
  QString suffix = extension;
  while (suffix.startsWith(u'.'))
    suffix.remove(0, 1);
  if (!suffix.isEmpty()) name += u'.' + suffix;
  return name;
}
