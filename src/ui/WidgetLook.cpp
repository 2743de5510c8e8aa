// SPDX-License-Identifier: MIT
// Applying the look rules' answers to widgets.
#include "ui/WidgetLook.h"

#include <QWidget>

namespace qm {

void Place(QWidget* widget, const Rect& r) {
  if (widget != nullptr) widget->setGeometry(r.x, r.y, r.width, r.height);
}

void Paint(QWidget* widget, const ControlColors& colors, QPalette::ColorRole textRole,
           QPalette::ColorRole backgroundRole, std::initializer_list<QPalette::ColorGroup> groups) {
  if (widget == nullptr || colors.useDefault) return;
  QPalette palette = widget->palette();
  for (QPalette::ColorGroup group : groups) {
    palette.setColor(group, textRole, ToColor(colors.text));
    palette.setColor(group, backgroundRole, ToColor(colors.background));
  }
  widget->setPalette(palette);
}

}  // namespace qm
