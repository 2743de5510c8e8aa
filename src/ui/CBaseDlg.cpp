// SPDX-License-Identifier: MIT
#include "ui/CBaseDlg.h"

#include <QKeyEvent>
#include <QRect>
#include <QScreen>
#include <QWindow>
#include <memory>

#include "ui/ControlIds.h"

namespace qm {
namespace {

// The command a key stands for: OK for Enter and Return, Cancel for Esc,
// each without modifiers; 0 for any other key.
int DialogKeyCommand(const QKeyEvent& event) {
  if (event.modifiers() != Qt::NoModifier && event.modifiers() != Qt::KeypadModifier) return 0;
  if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) return kIdOk;
  if (event.key() == Qt::Key_Escape) return kIdCancel;
  return 0;
}

}  // namespace

CBaseDlg::CBaseDlg(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent) {
  setWindowFlags(flags);
}

CBaseDlg::~CBaseDlg() {
  for (QObject* child : children()) QObject::disconnect(child, nullptr, this, nullptr);
}

int CBaseDlg::Dpi() const { return logicalDpiX(); }

void CBaseDlg::setVisible(bool visible) {
  if (visible && !m_initialized) OnInitDialog();
  QDialog::setVisible(visible);
  if (visible) {
    WatchDpi();
    // The window system may have placed the window on a screen of another
    // dpi than the one it was built for.
    OnDpiChanged();
  }
}

void CBaseDlg::BuildFonts() {
  CreateFonts();
  m_fontDpi = Dpi();
}

void CBaseDlg::SizeAndCentre(Size initial, QPoint centre) {
  const Size minimum = MinimumSizeAt(Dpi());
  setMinimumSize(minimum.width, minimum.height);
  resize(initial.width, initial.height);
  QRect frame(QPoint(0, 0), size());
  frame.moveCenter(centre);
  move(frame.topLeft());
}

void CBaseDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  LayoutControls();
}

void CBaseDlg::keyPressEvent(QKeyEvent* event) {
  if (const int command = DialogKeyCommand(*event); command != 0) {
    OnCommand(command, kBnClicked);
    return;
  }
  QDialog::keyPressEvent(event);
}

// The stand-in for a dpi change message: the shown window moving to another
// screen or its screen's logical dpi changing. Each native window is watched
// once, and only its current screen's dpi is followed.
void CBaseDlg::WatchDpi() {
  QWindow* window = windowHandle();
  if (window == nullptr || window->property("qmWatched").toBool()) return;
  window->setProperty("qmWatched", true);
  auto dpiLink = std::make_shared<QMetaObject::Connection>();
  const auto watchScreen = [this, dpiLink](QScreen* screen) {
    QObject::disconnect(*dpiLink);
    if (screen != nullptr) {
      *dpiLink =
          connect(screen, &QScreen::logicalDotsPerInchChanged, this, [this] { OnDpiChanged(); });
    }
  };
  watchScreen(window->screen());
  connect(window, &QWindow::screenChanged, this, [this, watchScreen](QScreen* screen) {
    watchScreen(screen);
    OnDpiChanged();
  });
}

void CBaseDlg::OnDpiChanged() {
  const int dpi = Dpi();
  if (!m_initialized || dpi == m_fontDpi || m_fontDpi <= 0) return;
  const Size target = Rescale(Size{width(), height()}, m_fontDpi, dpi);
  BuildFonts();
  ApplyFonts();
  const Size minimum = MinimumSizeAt(dpi);
  setMinimumSize(minimum.width, minimum.height);
  resize(target.width, target.height);
  LayoutControls();
}

}  // namespace qm
