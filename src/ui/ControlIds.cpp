// SPDX-License-Identifier: MIT
// Control ids and command notifications shared by the windows.
#include "ui/ControlIds.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

namespace qm {
namespace {

constexpr char kControlIdProperty[] = "qmControlId";

}  // namespace

int ControlIdOf(const QWidget* widget) {
  if (widget == nullptr) return 0;
  return widget->property(kControlIdProperty).toInt();
}

void SetControlId(QWidget* widget, int id) { widget->setProperty(kControlIdProperty, id); }

void WireControl(QWidget* widget, int id, QObject* receiver,
                 std::function<void(int, int)> command) {
  SetControlId(widget, id);
  const auto send = [command = std::move(command), id](int code) { command(id, code); };
  if (auto* button = qobject_cast<QPushButton*>(widget)) {
    QObject::connect(button, &QPushButton::clicked, receiver, [send] { send(kBnClicked); });
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    QObject::connect(edit, &QLineEdit::textChanged, receiver, [send] { send(kEnChange); });
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    QObject::connect(combo, &QComboBox::activated, receiver, [send] { send(kCbnSelChange); });
  }
}

QWidget* FindControl(const QWidget* window, int id) {
  for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (ControlIdOf(child) == id) return child;
  }
  return nullptr;
}

bool EndDialogCommand(QDialog* dialog, int id, int code) {
  if (code != kBnClicked) return false;
  if (id == kIdOk) {
    dialog->accept();
  } else if (id == kIdCancel) {
    dialog->reject();
  } else {
    return false;
  }
  return true;
}

}  // namespace qm
