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

bool ApplyDpiChange(QWidget* window, bool built, int oldDpi, int newDpi,
                    const std::function<Size(int)>& minimumAt,
                    const std::function<void()>& refresh) {
  if (!built || newDpi == oldDpi || oldDpi <= 0) return false;
  const Size target = Rescale(Size{window->width(), window->height()}, oldDpi, newDpi);
  refresh();
  const Size minimum = minimumAt(newDpi);
  window->setMinimumSize(minimum.width, minimum.height);
  window->resize(target.width, target.height);
  return true;
}

}  // namespace qm
