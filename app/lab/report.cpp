// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/lab/report.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <array>

#include "app/save_file.h"
#include "chart/chart.h"

namespace {

// French typography: narrow no-break spaces inside the quotes.
QString Quoted(const QString& text) {
  return QStringLiteral("«\u202F%1\u202F»").arg(text);
}

using TPairs = QList<QPair<QString, QString>>;

enum TListIndex : std::size_t { kSettings, kReadings, kMeasures, kListCount };

// Sizes in points at full scale; the layout shrinks them together when the page is too short.
struct TTypeSizes {
  double title = 18, subtitle = 12, heading = 11, body = 9.5, caption = 8, reading = 13;
};

QFont ReportFont(double points, bool bold) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

QString LeftOut(int count) {
  return count == 1 ? QStringLiteral("… 1 ligne non imprimée faute de place")
                    : QStringLiteral("… %1 lignes non imprimées faute de place").arg(count);
}

// One page laid out top to bottom. The same walk measures (no painter) and paints, so what is
// measured is what is drawn.
class TReportPage {
 public:
  TReportPage(const TReport& report, const QPaintDevice* device, const QRectF& area)
      : report_(report), device_(device), area_(area), mm_(device->logicalDpiY() / 25.4) {
    lists_ = {&report.settings, &report.readings, &report.measures};
    for (std::size_t i = 0; i < kListCount; ++i)
      shown_[i] = static_cast<int>(lists_[i]->size());
  }

  // Chooses the type scale, the rows kept and the screen's height.
  void Fit() {
    const double natural = NaturalScreenHeight();
    const double wanted = std::min(natural, 0.3 * area_.height());
    for (double scale : {1.0, 0.92, 0.85, 0.78, 0.72, 0.66, 0.6}) {
      scale_ = scale;
      if (Walk(nullptr, 0) + wanted <= area_.height()) break;
    }
    // Still too long at the smallest readable type: cut the longest list, a row at a time.
    while (Walk(nullptr, 0) + wanted > area_.height()) {
      std::size_t longest = kListCount;  // none
      for (std::size_t i = 0; i < kListCount; ++i) {
        if (shown_[i] > 0 &&
            (longest == kListCount || Rows(i, shown_[i]) >= Rows(longest, shown_[longest])))
          longest = i;
      }
      if (longest == kListCount) break;
      --shown_[longest];
    }
    screenHeight_ = std::clamp(area_.height() - Walk(nullptr, 0), 0.0, natural);
  }

  void Paint(QPainter& painter) const {
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    painter.setClipRect(area_);  // whatever rounding is left over stays on the page
    Walk(&painter, screenHeight_);
  }

 private:
  QFont Font(double points, bool bold = false) const { return ReportFont(points * scale_, bold); }
  double LineHeight(const QFont& font) const { return QFontMetricsF(font, device_).height(); }
  double Gap() const { return 3 * mm_ * scale_; }
  double RowHeight() const { return LineHeight(Font(sizes_.body)) * 1.35; }
  double CellHeight() const {
    return LineHeight(Font(sizes_.caption)) + LineHeight(Font(sizes_.reading, true)) + 2 * mm_;
  }
  // Settings and measures go two pairs to a row, the instruments four to a row.
  static int PerRow(std::size_t list) { return list == kReadings ? 4 : 2; }
  int Rows(std::size_t list, int count) const { return (count + PerRow(list) - 1) / PerRow(list); }

  double NaturalScreenHeight() const {
    const QImage& screen = report_.screen;
    if (screen.isNull()) return 0;
    return area_.width() * screen.height() / screen.width();
  }

  void Text(QPainter* painter, const QRectF& box, const QFont& font, const QString& text,
            const QColor& color, Qt::Alignment align = Qt::AlignLeft) const {
    if (painter == nullptr || text.isEmpty()) return;
    painter->setFont(font);
    painter->setPen(color);
    const QString elided =
        QFontMetricsF(font, device_).elidedText(text, Qt::ElideRight, box.width());
    painter->drawText(box, static_cast<int>(align | Qt::AlignVCenter) | Qt::TextSingleLine, elided);
  }

  // An instrument: its name above, its reading below to the right, in a rounded box.
  void ReadingCell(QPainter& painter, const QRectF& cell, const QString& label,
                   const QString& value) const {
    const QRectF box = cell.adjusted(0, 0.5 * mm_, 0, -0.5 * mm_);
    painter.setPen(QPen(QColor(0x90, 0x90, 0x90), 0.25 * mm_));
    painter.setBrush(QColor(0xf4, 0xf4, 0xf4));
    painter.drawRoundedRect(box, mm_, mm_);
    const QRectF inner = box.adjusted(2 * mm_, 0.5 * mm_, -2 * mm_, -0.5 * mm_);
    const double captionHeight = LineHeight(Font(sizes_.caption));
    Text(&painter, QRectF(inner.left(), inner.top(), inner.width(), captionHeight),
         Font(sizes_.caption), label, QColor(0x40, 0x40, 0x40));
    Text(&painter,
         QRectF(inner.left(), inner.top() + captionHeight, inner.width(),
                inner.height() - captionHeight),
         Font(sizes_.reading, true), value, Qt::black, Qt::AlignRight);
  }

  // A label and its value on one line, every other row shaded.
  void PairCell(QPainter& painter, const QRectF& cell, int row, const QString& label,
                const QString& value) const {
    if (row % 2 == 0) painter.fillRect(cell, QColor(0xf0, 0xf0, 0xf0));
    const QRectF inner = cell.adjusted(1.5 * mm_, 0, -1.5 * mm_, 0);
    const double labelWidth = inner.width() * 0.55;
    Text(&painter, QRectF(inner.left(), inner.top(), labelWidth - mm_, inner.height()),
         Font(sizes_.body), label, QColor(0x40, 0x40, 0x40));
    Text(&painter,
         QRectF(inner.left() + labelWidth, inner.top(), inner.width() - labelWidth, inner.height()),
         Font(sizes_.body, true), value, Qt::black);
  }

  // A heading, then the list's shown pairs, then how many were left out. Returns the new y.
  double Section(QPainter* painter, double y, std::size_t list, const QString& heading) const {
    const TPairs& pairs = *lists_[list];
    if (pairs.isEmpty()) return y;
    const QFont headingFont = Font(sizes_.heading, true);
    const double headingHeight = LineHeight(headingFont) * 1.3;
    Text(painter, QRectF(area_.left(), y, area_.width(), headingHeight), headingFont, heading,
         Qt::black);
    y += headingHeight;

    const int shown = shown_[list];
    const int perRow = PerRow(list);
    const int rows = Rows(list, shown);
    const double gutter = 4 * mm_ * scale_;
    const double width = (area_.width() - (perRow - 1) * gutter) / perRow;
    const double height = list == kReadings ? CellHeight() : RowHeight();
    for (int k = 0; painter != nullptr && k < shown; ++k) {
      // Pairs run down the first column, then the second: a table reads downwards. The
      // instruments read across, like the bench.
      const int row = list == kReadings ? k / perRow : k % rows;
      const int column = list == kReadings ? k % perRow : k / rows;
      const QRectF cell(area_.left() + column * (width + gutter), y + row * height, width, height);
      const auto& [label, value] = pairs[k];
      if (list == kReadings)
        ReadingCell(*painter, cell, label, value);
      else
        PairCell(*painter, cell, row, label, value);
    }
    y += rows * height;
    if (shown < pairs.size()) {
      Text(painter, QRectF(area_.left(), y, area_.width(), RowHeight()), Font(sizes_.body),
           LeftOut(static_cast<int>(pairs.size()) - shown), QColor(0x40, 0x40, 0x40));
      y += RowHeight();
    }
    return y + Gap();
  }

  void Screen(QPainter& painter, const QRectF& slot) const {
    const QImage& screen = report_.screen;
    const QSizeF size = QSizeF(screen.size()).scaled(slot.size(), Qt::KeepAspectRatio);
    const QRectF target(slot.left() + (slot.width() - size.width()) / 2, slot.top(), size.width(),
                        size.height());
    // Shrinking is done here, smoothly; enlarging is left to the device, which interpolates and
    // keeps the file small.
    const QSize pixels = target.size().toSize();
    if (pixels.width() < screen.width() && !pixels.isEmpty())
      painter.drawImage(target,
                        screen.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    else
      painter.drawImage(target, screen);
    painter.setPen(QPen(QColor(0x60, 0x60, 0x60), 0.25 * mm_));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(target);
  }

  // "Nom : ....... Classe : ....... Date : 08/12/2026", high enough to write on by hand.
  double NameLine(QPainter* painter, double y) const {
    const QFont font = Font(sizes_.body);
    const double lineHeight = LineHeight(font);
    const double height = 2.4 * lineHeight;
    if (painter == nullptr) return y + height;
    const QFontMetricsF metrics(font, device_);
    const double top = y + height - 1.2 * lineHeight;
    const double baseline = top + metrics.ascent() + 0.5 * mm_ * scale_;
    const QString date =
        report_.date.isValid()
            ? QLocale(QLocale::French).toString(report_.date.date(), QLocale::ShortFormat)
            : QString();
    const struct {
      QString label;
      double end;  // fraction of the width where this field stops
      QString value;
    } fields[] = {{QStringLiteral("Nom\u00A0:"), 0.5, {}},
                  {QStringLiteral("Classe\u00A0:"), 0.77, {}},
                  {QStringLiteral("Date\u00A0:"), 1.0, date}};
    double x = area_.left();
    for (const auto& field : fields) {
      const double labelWidth = metrics.horizontalAdvance(field.label);
      const double end = area_.left() + field.end * area_.width() - (field.end < 1 ? 4 * mm_ : 0);
      const double start = x + labelWidth + 1.5 * mm_;
      Text(painter, QRectF(x, top, labelWidth + mm_, lineHeight), font, field.label, Qt::black);
      if (!field.value.isEmpty()) {
        Text(painter, QRectF(start, top, std::max(end - start, 0.0), lineHeight), font, field.value,
             Qt::black);
      } else if (end > start) {
        painter->setPen(QPen(QColor(0x50, 0x50, 0x50), 0.3 * mm_, Qt::DotLine));
        painter->drawLine(QPointF(start, baseline), QPointF(end, baseline));
      }
      x = area_.left() + field.end * area_.width();
    }
    return y + height;
  }

  // Measures (painter null) or paints the page with the screen `screenHeight` high; returns the
  // height used.
  double Walk(QPainter* painter, double screenHeight) const {
    double y = area_.top();
    const QFont title = Font(sizes_.title, true);
    Text(painter, QRectF(area_.left(), y, area_.width(), LineHeight(title)), title, report_.title,
         Qt::black);
    y += LineHeight(title);
    if (report_.date.isValid()) {
      const QLocale french(QLocale::French);
      const QString date =
          QStringLiteral("%1 à %2").arg(french.toString(report_.date.date(), QLocale::LongFormat),
                                        french.toString(report_.date.time(), QLocale::ShortFormat));
      const QFont font = Font(sizes_.body);
      Text(painter, QRectF(area_.left(), y, area_.width(), LineHeight(font)), font, date,
           QColor(0x40, 0x40, 0x40));
      y += LineHeight(font);
    }
    if (!report_.experiment.isEmpty()) {
      const QFont font = Font(sizes_.subtitle, true);
      Text(painter, QRectF(area_.left(), y, area_.width(), LineHeight(font)), font,
           report_.experiment, Qt::black);
      y += LineHeight(font);
    }
    y = NameLine(painter, y) + Gap() / 2;
    if (painter != nullptr) {
      painter->setPen(QPen(Qt::black, 0.3 * mm_));
      painter->drawLine(QPointF(area_.left(), y), QPointF(area_.right(), y));
    }
    y += Gap();

    y = Section(painter, y, kSettings, QStringLiteral("Réglages"));
    if (!report_.screen.isNull()) {
      if (painter != nullptr && screenHeight > 0)
        Screen(*painter, QRectF(area_.left(), y, area_.width(), screenHeight));
      y += screenHeight + Gap();
    }
    y = Section(painter, y, kReadings, QStringLiteral("Appareils de mesure"));
    y = Section(painter, y, kMeasures, QStringLiteral("Mesures"));
    return y - area_.top();
  }

  const TReport& report_;
  const QPaintDevice* device_;
  QRectF area_;
  double mm_;  // device pixels in a millimetre
  TTypeSizes sizes_;
  double scale_ = 1;
  std::array<const TPairs*, kListCount> lists_{};
  std::array<int, kListCount> shown_{};
  double screenHeight_ = 0;
};

}  // namespace

TExportResult PrintReport(const TReport& report, QPrinter* printer) {
  if (printer == nullptr) return {QStringLiteral("Aucune imprimante n'est choisie.")};
  QPainter painter;
  if (!painter.begin(printer)) {
    if (printer->outputFormat() == QPrinter::PdfFormat)
      return {CannotWriteMessage(printer->outputFileName(),
                                 QStringLiteral("le fichier PDF n'a pas pu être créé"))};
    return {QStringLiteral("Impossible d'imprimer sur %1\u00A0: l'imprimante ne répond pas.")
                .arg(Quoted(printer->printerName()))};
  }
  // The painter starts at the printable area's corner; our own margin keeps the text off the
  // paper's edge even when the printer would print to it.
  const QRectF paper = printer->paperRect(QPrinter::DevicePixel);
  const QRectF printable = printer->pageRect(QPrinter::DevicePixel);
  const double margin = 12 * printer->logicalDpiY() / 25.4;
  const QRectF area = paper.translated(-printable.topLeft())
                          .adjusted(margin, margin, -margin, -margin)
                          .intersected(QRectF(QPointF(0, 0), printable.size()));
  if (!area.isEmpty()) {
    TReportPage page(report, printer, area);
    page.Fit();
    page.Paint(painter);
  }
  painter.end();
  return {};
}

namespace {

// Paper inks: dark enough to copy well, apart enough to tell the lines from each other.
constexpr TColor kInkAxis = clBlack;
constexpr TColor kInkTicks = 0x404040;
constexpr TColor kInkGrid = 0x808080;
constexpr TColor kInkLabels = clBlack;

}  // namespace

TInkSavingLook::TInkSavingLook(TChart& chart, const QList<TInk>& inks) : chart_(chart) {
  // Everything is read before anything is changed, so Restore always has the settings of before.
  gradient_ = chart.Gradient().Visible();
  panel_ = chart.Color();
  for (TChartAxis* axis :
       {&chart.BottomAxis(), &chart.TopAxis(), &chart.LeftAxis(), &chart.RightAxis()})
    axes_.push_back({axis, axis->Axis.Color(), axis->Ticks.Color(), axis->Grid.Color(),
                     axis->LabelsFont().Color});
  for (const TInk& ink : inks) {
    if (ink.series != nullptr) series_.emplace_back(ink.series, ink.series->SeriesColor());
  }
  try {
    chart.Gradient().SetVisible(false);
    chart.SetColor(clWhite);
    for (const TAxisLook& look : axes_) {
      look.axis->Axis.SetColor(kInkAxis);
      look.axis->Ticks.SetColor(kInkTicks);
      look.axis->Grid.SetColor(kInkGrid);
      TCanvasFont font = look.axis->LabelsFont();
      font.Color = kInkLabels;
      look.axis->SetLabelsFont(font);
    }
    for (const TInk& ink : inks) {
      if (ink.series != nullptr) ink.series->SetSeriesColor(ink.colour);
    }
  } catch (...) {
    Restore();
    throw;
  }
}

TInkSavingLook::~TInkSavingLook() {
  Restore();
}

void TInkSavingLook::Restore() {
  // In the reverse order, so a series given twice ends with its first colour.
  for (auto it = series_.rbegin(); it != series_.rend(); ++it)
    it->first->SetSeriesColor(it->second);
  for (const TAxisLook& look : axes_) {
    look.axis->Axis.SetColor(look.line);
    look.axis->Ticks.SetColor(look.ticks);
    look.axis->Grid.SetColor(look.grid);
    TCanvasFont font = look.axis->LabelsFont();
    font.Color = look.labels;
    look.axis->SetLabelsFont(font);
  }
  chart_.SetColor(panel_);
  chart_.Gradient().SetVisible(gradient_);
}
