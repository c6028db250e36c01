#pragma once

#include <QString>
#include <functional>

// The desktop's "open" action on a document: its default application (the browser for a page)
// opens it, and the call returns at once. Tests replace the action to see what was asked.
void OpenDocument(const QString& path);

using TDocumentOpener = std::function<void(const QString& path)>;
// Installs `opener` in place of the desktop's action and returns the one it replaces; an empty
// opener restores the desktop's.
TDocumentOpener SetDocumentOpener(TDocumentOpener opener);

// A path written with backslashes (as the program's page table has them) in this system's
// separators, with doubled separators collapsed: a file URL would read "//aide" as a host.
QString NativeDocumentPath(const QString& path);
