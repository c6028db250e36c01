// SPDX-License-Identifier: GPL-3.0-or-later
// The work sheet as a teacher prints it from a browser: A4 pages, few enough to hand out, no menu
// of pages on paper, and each graph grid whole on one page with its caption.
#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include "data_paths.h"

namespace {

// Runs a tool to its end and returns what it printed; fails the test when it does not finish.
QString Output(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  const bool done = process.waitForFinished(120000);
  EXPECT_TRUE(done && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
      << program.toStdString() << ": " << process.readAllStandardError().toStdString();
  return QString::fromUtf8(process.readAllStandardOutput());
}

// A grid's top label and the caption under it (patterns): on paper they share a page, or the grid
// is cut.
struct Grid {
  const char* top;
  const char* caption;
  int count;
};
const Grid kGrids[] = {{"3500", "Tracez n en fonction de U", 1},
                       {R"(u \(V\))", R"(Dessinez u\(t\) (sur deux|à 50))", 2}};

TEST(WorkSheetPrint, PrintsOnAtMostEightA4PagesWithoutTheMenuAndWithWholeGrids) {
  const QString chromium = QStandardPaths::findExecutable("chromium");
  const QString pdfinfo = QStandardPaths::findExecutable("pdfinfo");
  const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
  if (chromium.isEmpty() || pdfinfo.isEmpty() || pdftotext.isEmpty())
    GTEST_SKIP() << "chromium and poppler-utils are needed (scripts/install-deps.sh)";

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString pdf = dir.filePath("travail.pdf");
  const QString page = QString::fromStdString((RunDir() / "aide" / "travail.htm").string());
  Output(chromium, {"--headless", "--no-sandbox", "--disable-gpu", "--no-pdf-header-footer",
                    "--user-data-dir=" + dir.filePath("profile"), "--print-to-pdf=" + pdf,
                    QUrl::fromLocalFile(page).toString()});

  const QString info = Output(pdfinfo, {"-f", "1", "-l", "999", pdf});
  const QStringList sizes = info.split('\n').filter(QRegularExpression("^Page +\\d+ size:"));
  ASSERT_GE(sizes.size(), 4) << info.toStdString();
  // At most four sheets printed on both sides, so a class set stays cheap to hand out.
  EXPECT_LE(sizes.size(), 8) << "the work sheet prints on " << sizes.size() << " pages";
  for (const QString& size : sizes)
    EXPECT_TRUE(size.contains("(A4)")) << size.toStdString();

  std::vector<qsizetype> seen(std::size(kGrids), 0);
  for (int n = 1; n <= sizes.size(); ++n) {
    const QString text =
        Output(pdftotext, {"-f", QString::number(n), "-l", QString::number(n), pdf, "-"});
    EXPECT_FALSE(text.contains("Cours 2 (approfondissement)")) << "the menu printed on page " << n;
    for (std::size_t g = 0; g < std::size(kGrids); ++g) {
      const qsizetype tops = text.count(QRegularExpression(kGrids[g].top));
      const qsizetype captions = text.count(QRegularExpression(kGrids[g].caption));
      EXPECT_EQ(tops, captions) << "grid \"" << kGrids[g].top << "\" cut at page " << n;
      seen[g] += captions;
    }
  }
  for (std::size_t g = 0; g < std::size(kGrids); ++g)
    EXPECT_EQ(seen[g], kGrids[g].count) << kGrids[g].caption;
}

}  // namespace
