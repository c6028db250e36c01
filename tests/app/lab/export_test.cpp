// SPDX-License-Identifier: GPL-3.0-or-later
// The traces, the screen and the report as the "Fichier" menu saves and prints them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/lab/export.h"
#include "app/lab/report.h"
#include "app/notebook/notebook_csv.h"
#include "app/notebook/notebook_file.h"
#include "app/notebook/notebook_model.h"
#include "app/oscilloscope_settings.h"
#include "app/save_folder.h"
#include "tests/app/form_fixture.h"
#include "tests/app/lab/no_printer.h"
#include "tests/sim/c_locale.h"

#include <sys/resource.h>

namespace {

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString PdfText(const QString& path) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
  process.waitForFinished();
  return QString::fromUtf8(process.readAllStandardOutput());
}

const std::vector<double> kTimes = {0, 0.05, 0.1, 0.15000000000000002, 0.2, 0.25, 0.3};
const std::vector<double> kRed = {12.345678, -3.5, 4e-7, 1234567.25, -0.000001, 5, 24.999999};
const std::vector<double> kBlue = {0.5, -0.25, 1.125, 7};  // shorter: its last cells stay empty

QImage TestImage(QImage::Format format) {
  QImage image(37, 23, format);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      image.setPixel(x, y, qRgba(x * 7, y * 11, (x * y) % 256, 40 + (x + y) * 3));
  return image;
}

TEST(Csv, ReadsBackInEachLocaleWithItsSeparatorAndDecimalMark) {
  struct Case {
    QLocale locale;
    QChar separator, decimal, otherMark;
  };
  const Case cases[] = {{QLocale(QLocale::French, QLocale::France), u';', u',', u'.'},
                        {QLocale(QLocale::German, QLocale::Germany), u';', u',', u'.'},
                        {QLocale::c(), u',', u'.', u';'},
                        {QLocale(QLocale::English, QLocale::UnitedStates), u',', u'.', u';'}};
  const QList<TCsvTrace> traces = {
      {QStringLiteral("tension rouge"), kTimes.data(), kRed.data(), int(kRed.size())},
      {QStringLiteral("tension bleue"), kTimes.data(), kBlue.data(), int(kBlue.size())}};
  QTemporaryDir dir;
  for (const char* cLocale : kCLocales) {
    const TCLocale setLocale(cLocale);
    ASSERT_TRUE(setLocale.Ok()) << cLocale;
    for (const Case& c : cases) {
      SCOPED_TRACE(c.locale.name().toStdString() + " under " + cLocale);
      const QString path = dir.filePath(QStringLiteral("courbes.csv"));
      ASSERT_TRUE(SaveTracesCsv(path, traces, c.locale).Ok());
      const QString text = QString::fromUtf8(Bytes(path));
      EXPECT_FALSE(text.contains(c.otherMark)) << text.toStdString();
      QStringList lines = text.split(u'\n');
      ASSERT_EQ(lines.takeLast(), QString());  // every row ends its line
      ASSERT_EQ(lines.size(), 1 + int(kRed.size()));
      EXPECT_EQ(lines[0].split(c.separator),
                (QStringList{"temps (ms)", "tension rouge (V)", "tension bleue (V)"}));
      for (std::size_t row = 0; row < kRed.size(); ++row) {
        const QString line = lines[static_cast<qsizetype>(row) + 1];
        const QStringList cells = line.split(c.separator);
        ASSERT_EQ(cells.size(), 3) << line.toStdString();
        const auto number = [&](int column) {
          bool ok = false;
          const double value =
              QLocale::c().toDouble(QString(cells[column]).replace(c.decimal, u'.'), &ok);
          EXPECT_TRUE(ok) << cells[column].toStdString();
          return value;
        };
        // Exactly the value exported: 0.15000000000000002 is not written "0.15".
        EXPECT_EQ(number(0), kTimes[row]);
        EXPECT_EQ(number(1), kRed[row]);
        if (row < kBlue.size())
          EXPECT_EQ(number(2), kBlue[row]);
        else
          EXPECT_EQ(cells[2], QString());
      }
    }
  }
}

// Texts that read back keep the six-decimal form files always had; the others take the shortest
// text that does.
TEST(Csv, NumbersKeepTheirUsualTextWhenItReadsBack) {
  const double times[] = {0, 1, 2, 3, 4, 5, 6};
  const double values[] = {12.5, -0.0, 0.15000000000000002, 4e-7, 5e-324, 1e15, NAN};
  const QList<TCsvTrace> traces = {{QStringLiteral("u"), times, values, 7}};
  EXPECT_EQ(QString::fromUtf8(TracesCsv(traces, QLocale(QLocale::French))),
            QStringLiteral("temps (ms);u (V)\n0;12,5\n1;0\n2;0,15000000000000002\n3;4e-07\n"
                           "4;5e-324\n5;1e+15\n6;\n"));
}

// A notebook file whose numbers are at the edges of what a double holds.
constexpr char kNearDblMax[] =
    "simhacheur relev\xC3\xA9s 1\n"
    "t\te\tw\tc\td\tm\tnan\tinf\t-0\t5e-324\t1.7976931348623157e+308\n";

TEST(Csv, EveryNotebookNumberReadsBackAsTheDoubleRecorded) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("releves.tsv"));
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kNearDblMax);
  }
  TNotebookFile notebookFile(path);
  const TNotebookLoad load = notebookFile.Load();
  ASSERT_EQ(load.rows.size(), 1u) << load.message.toStdString();
  TNotebookModel model;
  model.Append(load.rows[0]);
  const struct {
    QLocale locale;
    QChar separator;
    QStringList numbers;  // set point, U, n, I1, I2
  } cases[] = {{QLocale(QLocale::French), u';', {"", "", "0", "5e-324", "1,7976931348623157e+308"}},
               {QLocale::c(), u',', {"", "", "0", "5e-324", "1.7976931348623157e+308"}}};
  for (const char* cLocale : kCLocales) {
    const TCLocale setLocale(cLocale);
    ASSERT_TRUE(setLocale.Ok()) << cLocale;
    for (const auto& c : cases) {
      SCOPED_TRACE(c.locale.name().toStdString() + " under " + cLocale);
      const QStringList lines = QString::fromUtf8(NotebookCsv(model, c.locale)).split(u'\n');
      ASSERT_EQ(lines.size(), 3);  // heading, the row, end
      const QStringList cells = lines[1].split(c.separator);
      ASSERT_EQ(cells.size(), kNotebookColumns);
      EXPECT_EQ(cells.mid(int(TNotebookColumn::kSetPoint)), c.numbers);
      for (int column = int(TNotebookColumn::kSetPoint); column < kNotebookColumns; ++column) {
        const std::optional<double> recorded =
            NumberOf(load.rows[0], static_cast<TNotebookColumn>(column));
        ASSERT_TRUE(recorded.has_value());
        std::string text = cells[column].toStdString();
        if (!std::isfinite(*recorded)) {
          EXPECT_EQ(text, "");
          continue;
        }
        std::replace(text.begin(), text.end(), ',', '.');
        double back = 1;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), back);
        EXPECT_TRUE(error == std::errc() && end == text.data() + text.size()) << text;
        EXPECT_EQ(back, *recorded) << text;
      }
    }
  }
}

TEST(Csv, TracesOnOtherTimesShareOnlyTheRowsOfTheirCommonTimes) {
  const double aTimes[] = {0, 1, 2, 3}, aValues[] = {10, 11, 12, 13};
  const double bTimes[] = {0, 1.5, 3}, bValues[] = {20, 21, NAN};
  const QList<TCsvTrace> traces = {{QStringLiteral("a"), aTimes, aValues, 4},
                                   {QStringLiteral("b, décalée"), bTimes, bValues, 3}};
  EXPECT_EQ(QString::fromUtf8(TracesCsv(traces, QLocale::c())),
            QStringLiteral("temps (ms),a (V),\"b, décalée (V)\"\n"
                           "0,10,20\n1,11,\n1.5,,21\n2,12,\n3,13,\n"));
}

TEST(ExportFileName, TheExperimentTagMadeSafeForAnySystem) {
  const struct {
    const char* tag;
    const char* extension;
    const char* name;
  } cases[] = {
      {"2-quadrants R-L 50 %", "csv", "oscillogramme_2-quadrants_R-L_50pc.csv"},
      {"1 quadrant / moteur à vide", "png", "oscillogramme_1_quadrant-moteur_a_vide.png"},
      {"  Œuvre: cœur  ", ".pdf", "oscillogramme_OEuvre-coeur.pdf"},
      {"../..", "csv", "oscillogramme.csv"},
      {"", "csv", "oscillogramme.csv"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DefaultExportFileName(QString::fromUtf8(c.tag), QString::fromUtf8(c.extension)),
              QString::fromUtf8(c.name));
}

TEST(Png, ReadsBackPixelForPixelAndReplacesTheOldFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("écran.png"));
  for (QImage::Format format : {QImage::Format_ARGB32, QImage::Format_RGB32}) {
    const QImage image = TestImage(format);
    ASSERT_TRUE(SaveImagePng(image, path).Ok());
    const QImage read(path);
    EXPECT_EQ(read.size(), image.size());
    EXPECT_EQ(read.convertToFormat(QImage::Format_ARGB32),
              image.convertToFormat(QImage::Format_ARGB32));
  }
  EXPECT_FALSE(SaveImagePng(QImage(), path).Ok());
}

// A write that fails says where, and leaves the file that was there and no temporary file.
TEST(SaveFailures, SayWhereAndLeaveTheOldFileAsItWas) {
  QTemporaryDir dir;
  const QString folder = dir.filePath(QStringLiteral("tp"));
  const QString old = folder + QStringLiteral("/ancien.csv");
  const std::vector<double> many(5000, 1.234567);
  const QList<TCsvTrace> traces = {{QStringLiteral("t"), many.data(), many.data(), 5000}};
  const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner;
  rlimit fileSize{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &fileSize), 0);
  enum TFailure { kReadOnlyFolder, kDiskFull, kFolderIsAFile };
  for (const TFailure failure : {kReadOnlyFolder, kDiskFull, kFolderIsAFile}) {
    SCOPED_TRACE(failure);
    ASSERT_TRUE(QDir().mkpath(folder) &&
                QFile(folder).setPermissions(readOnly | QFile::WriteOwner));
    QFile file(old);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("ancien contenu") > 0);
    file.close();
    const QString path = failure == kFolderIsAFile ? old + QStringLiteral("/courbes.csv") : old;
    if (failure == kReadOnlyFolder) {
      QFile(folder).setPermissions(readOnly);
      if (QFile probe(folder + QStringLiteral("/essai")); probe.open(QIODevice::WriteOnly)) {
        probe.remove();  // root writes anyway
        std::printf("Read-only folder not checked: this user writes into it anyway.\n");
        continue;
      }
    }
    if (failure == kDiskFull) {  // as a write sees it: no file may grow past 20 bytes
      std::signal(SIGXFSZ, SIG_IGN);
      rlimit tiny = fileSize;
      tiny.rlim_cur = 20;  // less than any PNG
      ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    }
    const TExportResult csv = SaveTracesCsv(path, traces, QLocale::c());
    const TExportResult png = SaveImagePng(TestImage(QImage::Format_RGB32), path);
    setrlimit(RLIMIT_FSIZE, &fileSize);
    QFile(folder).setPermissions(readOnly | QFile::WriteOwner);
    const QString start = QStringLiteral("Impossible d'écrire le fichier «\u202F%1\u202F»\u00A0: ")
                              .arg(QDir::toNativeSeparators(path));
    EXPECT_TRUE(csv.error.startsWith(start)) << csv.error.toStdString();
    EXPECT_TRUE(png.error.startsWith(start)) << png.error.toStdString();
    EXPECT_EQ(Bytes(old), "ancien contenu");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"ancien.csv"});
  }
}

QList<QPair<QString, QString>> Pairs(const QString& label, int count) {
  QList<QPair<QString, QString>> pairs;
  for (int i = 1; i <= count; ++i)
    pairs.append({label.arg(i), QStringLiteral("%1,00 V").arg(i)});
  return pairs;
}

int PdfPages(const QString& path) {
  static const QRegularExpression page(QStringLiteral("/Type\\s*/Page\\b"));
  return int(QString::fromLatin1(Bytes(path)).count(page));
}

// One A4 page however long the lists: short ones printed whole, long ones cut with a word.
TEST(Report, PrintsOnOneA4PageCuttingOnlyWhatCannotFit) {
  TReport report{QStringLiteral("Compte rendu de TP"),
                 QDateTime(QDate(2024, 6, 4), QTime(14, 32)),
                 QStringLiteral("Hacheur 2 quadrants (visualisation des tensions)"),
                 Pairs(QStringLiteral("Réglage %1"), 5),
                 TestImage(QImage::Format_RGB32).scaled(740, 420),
                 Pairs(QStringLiteral("Appareil %1"), 4),
                 Pairs(QStringLiteral("Mesure %1"), 8)};
  TReport overlong = report;
  overlong.title = QStringLiteral("Un titre bien trop long ").repeated(20);
  overlong.settings = Pairs(QStringLiteral("Réglage %1"), 40);
  overlong.measures = Pairs(QStringLiteral("Mesure %1"), 300);
  const struct {
    const char* what;
    const TReport& report;
    const char* shown;
    bool cut;
  } cases[] = {{"usual", report, "Mesure 8", false}, {"overlong", overlong, "Mesure 1", true}};
  const bool poppler = !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
  QTemporaryDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QString path = dir.filePath(QString::fromUtf8(c.what) + QStringLiteral(".pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(path);
    ASSERT_TRUE(PrintReport(c.report, &printer).Ok());
    EXPECT_EQ(PdfPages(path), 1);
    if (!poppler) continue;
    const QString text = PdfText(path);
    for (const QString& expected : {QStringLiteral("mardi 4 juin 2024"),
                                    QStringLiteral("Appareil 4"), QString::fromUtf8(c.shown)})
      EXPECT_TRUE(text.contains(expected)) << expected.toStdString();
    EXPECT_EQ(text.contains(QStringLiteral("non imprimées faute de place")), c.cut);
    static const QRegularExpression nameLine(
        QStringLiteral("Nom[\\s\u00A0]*:[\\s\u00A0]*Classe[\\s\u00A0]*:[\\s\u00A0]*"
                       "Date[\\s\u00A0]*:[\\s\u00A0]*04/06/2024"));
    EXPECT_TRUE(text.contains(nameLine)) << text.toStdString();
  }
  if (!poppler) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
}

TEST(Report, APdfThatCannotBeWrittenIsSaid) {
  QTemporaryDir dir;
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath(QStringLiteral("absent/rapport.pdf")));
  EXPECT_TRUE(PrintReport(TReport{}, &printer)
                  .error.startsWith(QStringLiteral("Impossible d'écrire le fichier «\u202F")));
}

// --- The saved screen's caption ------------------------------------------------------------

// Pixels of `area` (the whole image if empty) that are dark, or else clearly green as the
// oscilloscope's background is.
int Pixels(const QImage& image, bool dark, QRect area = {}) {
  if (area.isEmpty()) area = image.rect();
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const QRgb p = image.pixel(x, y);
      count += dark ? qGray(p) < 110 : qGreen(p) > qRed(p) + 30 && qGreen(p) > qBlue(p) + 20;
    }
  return count;
}

// Below the untouched screen; at any width and pixel ratio, nothing running off the strip.
TEST(ScreenCaption, StripBelowTheUntouchedScreenWrapsAndFollowsThePixelRatio) {
  const TScreenCaption caption{QStringLiteral("Hacheur 2 quadrants : visualisation des tensions"),
                               {{QStringLiteral("Branchement"), QStringLiteral("moteur branché")},
                                {QStringLiteral("Rapport cyclique"), QStringLiteral("60\u00A0%")}},
                               QDateTime(QDate(2024, 6, 4), QTime(14, 32)),
                               {}};
  QTemporaryDir dir;
  int stripAtOne = 0;
  for (const auto& [width, ratio] : {std::pair{640, 1}, std::pair{640, 2}, std::pair{150, 1}}) {
    SCOPED_TRACE(std::to_string(width) + " at " + std::to_string(ratio));
    QImage screen = TestImage(QImage::Format_RGB32).scaled(width * ratio, width * ratio * 3 / 5);
    screen.setDevicePixelRatio(ratio);
    const QString path = dir.filePath(QStringLiteral("écran.png"));
    ASSERT_TRUE(SaveImagePng(CaptionedScreen(screen, caption), path).Ok());
    const QImage saved = QImage(path).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(saved.width(), screen.width());
    const int strip = saved.height() - screen.height();
    EXPECT_EQ(saved.copy(screen.rect()), screen.convertToFormat(QImage::Format_RGB32));
    EXPECT_GT(Pixels(saved, true, QRect(0, screen.height(), width * ratio, strip)),
              200 * ratio * ratio);
    // Lines wrap short of the right edge, and the last one ends above the bottom edge.
    EXPECT_EQ(
        Pixels(saved, true, QRect(saved.width() - 3 * ratio, screen.height(), 3 * ratio, strip)),
        0);
    EXPECT_EQ(Pixels(saved, true, QRect(0, saved.height() - 2 * ratio, saved.width(), 2 * ratio)),
              0);
    if (ratio == 1 && width == 640) stripAtOne = strip;
    if (ratio == 2) {
      EXPECT_NEAR(strip, 2 * stripAtOne, 2);
    }
    if (width == 150) {
      EXPECT_GT(strip, stripAtOne);  // four lines take more rows
    }
    EXPECT_EQ(saved.text(QStringLiteral("Title")), caption.experiment);
    EXPECT_EQ(saved.text(QStringLiteral("Description")),
              QStringLiteral("Branchement\u00A0: moteur branché\u202F; Rapport cyclique\u00A0: "
                             "60\u00A0%\nAxe vertical\u00A0: u (V)\u202F; axe horizontal\u00A0: "
                             "t (ms)\nEnregistré le mardi 4 juin 2024 à 14:32"));
    EXPECT_EQ(QDateTime::fromString(saved.text(QStringLiteral("Creation Time")), Qt::RFC2822Date),
              caption.date);
  }
}

// With channel 2 on, the axes' line names the right axis too; off, it is the line of before.
TEST(ScreenCaption, NamesTheRightAxisWhileChannelTwoIsOn) {
  const QString axes =
      QStringLiteral("Axe vertical\u00A0: u (V)\u202F; axe horizontal\u00A0: t (ms)");
  for (const auto& [current, line] :
       {std::pair{QString(), axes},
        std::pair{QStringLiteral("i1"),
                  axes + QStringLiteral("\u202F; axe de droite (voie 2)\u00A0: i1 (A)")}}) {
    EXPECT_EQ(ScreenCaptionLines({QString(), {}, QDateTime(), current}), QStringList{line});
  }
}

// --- The oscilloscope printed in dark inks on white ---------------------------------------------

TEST(InkSavingLook, DrawsOnWhiteThenGivesTheChartBackAsItWasEvenAfterAnException) {
  TChart chart;
  oscilloscope::ApplyChartSettings(chart);
  chart.resize(400, 250);
  TFastLineSeries* trace = oscilloscope::MakeTrace(chart, oscilloscope::kTraces[1], &chart);
  for (double t = 0; t <= 25; t += 0.05)
    trace->AppendPoint(t, std::fmod(t, 5) < 3 ? 12 : -6);
  const QImage before = chart.grab().toImage();
  ASSERT_GT(Pixels(before, false), before.width() * before.height() / 4);
  constexpr TColor kInk = 0x0000C8;
  try {
    const TInkSavingLook look(chart, {{trace, kInk}});
    const QImage paper = chart.grab().toImage();
    EXPECT_EQ(Pixels(paper, false), 0);
    int white = 0, ink = 0;
    for (int y = 0; y < paper.height(); ++y)
      for (int x = 0; x < paper.width(); ++x) {
        white += paper.pixel(x, y) == qRgb(255, 255, 255);
        ink += paper.pixel(x, y) == ToQColor(kInk).rgb();
      }
    EXPECT_GT(white, paper.width() * paper.height() * 7 / 10);
    EXPECT_GT(ink, 300);
    throw std::runtime_error("interrompu");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(chart.grab().toImage(), before);
}

// --- What the window saves and prints -------------------------------------------------------

class LabReportTest : public FormTest {
 protected:
  LabReportTest() {
    Find<TChart>("Chart1")->resize(600, 400);
    Menu("Hacheur2quadrantsvisualisationdestensions1");
  }
  // Opens "Imprimer…" and gives `answer` the ink-saving box of the dialog that comes up.
  void Print(TForm1& window, const std::function<void(QDialog*, QCheckBox*)>& answer) {
    QTimer::singleShot(0, &window, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      auto* box = dialog->findChild<QCheckBox*>(QStringLiteral("InkSaving"));
      EXPECT_EQ(box ? box->accessibleName() : QString(),
                QStringLiteral("Économie d'encre (fond blanc)"));
      answer(dialog, box);
      if (dialog->isVisible()) dialog->reject();  // the test fails instead of hanging
    });
    window.findChild<QAction*>(QStringLiteral("Imprimer1"))->trigger();
  }
};

TEST_F(LabReportTest, InkSavingPrintsTheScreenOnWhiteAndLeavesTheWindowAsItWas) {
  const bool poppler = !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty();
  const QImage shown = form->LabTools().ScreenImage();
  const QString pdf = QDir(work.path()).filePath(QStringLiteral("relevé.pdf"));
  const QString prefix = QDir(work.path()).filePath(QStringLiteral("page"));
  for (const bool inkSaving : {false, true}) {
    SCOPED_TRACE(inkSaving);
    QSettings().setValue(QStringLiteral("impression/economie_encre"), inkSaving);
    {
      QPrinter printer(QPrinter::HighResolution);
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setPageSize(QPageSize(QPageSize::A4));
      printer.setOutputFileName(pdf);
      form->LabTools().PrintReportTo(&printer);
    }
    EXPECT_EQ(form->LabTools().ScreenImage(), shown);
    if (!poppler) continue;
    ASSERT_EQ(QProcess::execute(QStringLiteral("pdftoppm"),
                                {QStringLiteral("-r"), "50", "-png", "-singlefile", pdf, prefix}),
              0);
    // The screen covers a good part of the page: green all over it, or nowhere.
    const QImage page(prefix + QStringLiteral(".png"));
    const int green = Pixels(page, false);
    EXPECT_TRUE(inkSaving ? green == 0 : green > page.width() * page.height() / 10) << green;
  }
  EXPECT_TRUE(errors.empty());
  if (!poppler) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
}

// Offered wherever the report is printed, on at first, and the next run keeps the last choice.
TEST_F(LabReportTest, InkSavingIsOfferedOnByDefaultAndRemembered) {
  const QString pdf = QDir(work.path()).filePath(QStringLiteral("relevé.pdf"));
  const NoPrinter seat(
      [&](const QString&, const QString&, const QString&) -> const QString& { return pdf; });
  std::optional<bool> offered;
  Print(*form, [&](QDialog* dialog, QCheckBox* box) {
    auto* message = qobject_cast<QMessageBox*>(dialog);
    if (message == nullptr || box == nullptr || message->checkBox() != box) return;
    offered = box->isChecked();
    EXPECT_TRUE(QTest::qWaitForWindowActive(message));
    QTest::keyClick(message, Qt::Key_B, Qt::AltModifier);      // its mnemonic unticks it
    for (int wait = 0; wait < 40 && box->isChecked(); ++wait)  // a mnemonic clicks after a moment
      QTest::qWait(25);
    EXPECT_FALSE(box->isChecked());
    QTest::keyClick(message, Qt::Key_Return);
  });
  EXPECT_EQ(offered, std::optional<bool>(true));
  EXPECT_TRUE(QFile::exists(pdf));

  form.reset();
  TForm1 next;
  for (const bool printer : {false, true}) {  // with a printer, in the print dialog's options
    TLabTools::SetPrinterQuery([printer] { return printer; });
    offered.reset();
    Print(next, [&](QDialog* dialog, QCheckBox* box) {
      if (box && printer == (qobject_cast<QPrintDialog*>(dialog) != nullptr))
        offered = box->isChecked();
    });
    EXPECT_EQ(offered, std::optional<bool>(false)) << printer;
  }
  EXPECT_TRUE(errors.empty());
}

}  // namespace
