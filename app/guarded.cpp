// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/guarded.h"

#include <QString>

#include "app/dialogs/error_box.h"

void ReportFault(const std::exception_ptr& fault) noexcept {
  try {
    try {
      std::rethrow_exception(fault);
    } catch (const std::exception& error) {
      ShowErrorBox(QString::fromUtf8(error.what()));
    } catch (...) {
      ShowErrorBox(QStringLiteral("Une erreur inattendue a interrompu l'opération."));
    }
  } catch (...) {
    // The box could not be shown (no memory left for it): nothing more can be said.
  }
}
