// SPDX-License-Identifier: MIT
#include "ui/WindowPlacement.h"

#include <QRect>
#include <QWidget>

namespace qm {

void SizeAndCentre(QWidget* window, Size minimum, Size initial, QPoint centre) {
  window->setMinimumSize(minimum.width, minimum.height);
  window->resize(initial.width, initial.height);
  QRect frame(QPoint(0, 0), window->size());
  frame.moveCenter(centre);
  window->move(frame.topLeft());
}

}  // namespace qm
