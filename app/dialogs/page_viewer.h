// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>

class QTextBrowser;

// A course or help page shown inside the program, for when the desktop cannot open it: Qt's text
// browser follows the links between the pages; links to the web go to the desktop.
class TPageViewer : public QDialog {
  Q_OBJECT

 public:
  explicit TPageViewer(const QString& path, QWidget* parent = nullptr);

  QTextBrowser* Browser() const { return browser_; }

 private:
  void ShowTitle();

  QTextBrowser* browser_ = nullptr;
};

// Says that the page at `path` could not be opened and why; offers the viewer when the file
// exists. Returns the viewer it opened (shown, not modal, deleted when closed), or nullptr.
TPageViewer* ReportPageFailure(const QString& path, const QString& reason, QWidget* parent);
