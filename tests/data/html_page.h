// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <filesystem>
#include <map>
#include <vector>

// One course page read as XML: the pages are written as polyglot HTML5, so an XML reader both
// checks that they are well formed and hands us their elements, links, text and tables.
struct PageElement {
  QString name;
  QString namespaceUri;
  std::map<QString, QString> attributes;  // by qualified name ("lang", "xml:lang", "href")
  QString parent;                         // local name of the enclosing element, "" for the root
  qint64 line = 0;

  QString Attribute(const QString& qualifiedName) const {
    auto it = attributes.find(qualifiedName);
    return it == attributes.end() ? QString() : it->second;
  }
  bool Has(const QString& qualifiedName) const { return attributes.count(qualifiedName) != 0; }
};

// A table of readings, with the cell texts of its last head row and of its body rows.
struct PageTable {
  QString kind;  // its data-banc attribute, empty for other tables
  QStringList header;
  std::vector<QStringList> rows;
};

class HtmlPage {
 public:
  explicit HtmlPage(const std::filesystem::path& path);

  bool IsUtf8() const { return isUtf8_; }
  bool IsWellFormed() const { return error_.isEmpty(); }
  QString Error() const { return error_; }  // first XML error, with its line
  QString Doctype() const { return doctype_; }
  QString Title() const { return title_; }
  const std::vector<PageElement>& Elements() const { return elements_; }
  // Text a reader sees, outside drawings, formulas, styles and scripts.
  QString Prose() const { return prose_; }
  // The prose the authors wrote: each quote of the program's own texts (class "programme",
  // "menu-programme" or "bouton", samp, kbd, code), and each boundary between blocks, is
  // replaced by U+FFFC, so that typography is checked only where it is ours.
  QString OwnText() const { return ownText_; }
  const std::vector<PageTable>& Tables() const { return tables_; }

  std::vector<const PageElement*> Named(const QString& name) const;
  QStringList Ids() const;

 private:
  void Parse(const QByteArray& bytes);

  bool isUtf8_ = false;
  QString error_;
  QString doctype_;
  QString title_;
  std::vector<PageElement> elements_;
  QString prose_;
  QString ownText_;
  std::vector<PageTable> tables_;
};
