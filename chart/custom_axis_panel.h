#pragma once

#include <vector>

class TChartSeries;

// The part of the chart that keeps the series attached to it, in attachment order (which is
// also their drawing order), and takes their repaint requests.
class TCustomAxisPanel {
 public:
  TCustomAxisPanel() = default;
  TCustomAxisPanel(const TCustomAxisPanel&) = delete;
  TCustomAxisPanel& operator=(const TCustomAxisPanel&) = delete;
  virtual ~TCustomAxisPanel();

  const std::vector<TChartSeries*>& SeriesList() const { return seriesList_; }

  // Marks the off-screen image out of date; a change of data never draws by itself.
  virtual void InvalidateChart() { BufferDirty = true; }
  bool Destroying() const { return destroying_; }

  bool BufferDirty = true;

 private:
  friend class TChartSeries;
  void AddSeries(TChartSeries* series);
  void RemoveSeries(TChartSeries* series);

  std::vector<TChartSeries*> seriesList_;
  bool destroying_ = false;
};
