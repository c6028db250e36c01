// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

// Told, in French, why the desktop could not open a document. It may come after OpenDocument
// has returned (the desktop's opener runs on its own), and at most once.
using TOpenFailure = std::function<void(const QString& reason)>;

// The desktop's "open" action on a document: its default application (the browser for a page)
// opens it, and the call returns at once. A missing file, no opener or an opener that fails is
// told to `onFailure`. Tests replace the action to see what was asked.
void OpenDocument(const QString& path, const TOpenFailure& onFailure = {});

using TDocumentOpener = std::function<void(const QString& path, const TOpenFailure& onFailure)>;
// Installs `opener` in place of the desktop's action and returns the one it replaces; an empty
// opener restores the desktop's.
TDocumentOpener SetDocumentOpener(TDocumentOpener opener);

// A path written with backslashes (as the program's page table has them) in this system's
// separators, with doubled separators collapsed: a file URL would read "//aide" as a host.
QString NativeDocumentPath(const QString& path);
