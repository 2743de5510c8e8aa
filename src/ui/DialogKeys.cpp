// SPDX-License-Identifier: MIT
#include "ui/DialogKeys.h"

#include <QKeyEvent>

#include "ui/ControlIds.h"

namespace qm {

int DialogKeyCommand(const QKeyEvent& event) {
  if (event.modifiers() != Qt::NoModifier && event.modifiers() != Qt::KeypadModifier) return 0;
  if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) return kIdOk;
  if (event.key() == Qt::Key_Escape) return kIdCancel;
  return 0;
}

}  // namespace qm
