// SPDX-License-Identifier: MIT
// What the program's three windows share: built at the first show, following
// their screen's dpi, ended by Enter and Esc, cut off from their controls
// when they go.
#pragma once

#include <QDialog>
#include <QPoint>

#include "look/Geometry.h"

namespace qm {

class CBaseDlg : public QDialog {
  Q_OBJECT

 public:
  // The controls go with QWidget, after the window's own parts: nothing
  // they signal on the way reaches the window any more.
  ~CBaseDlg() override;

  // Routes a command by control id and notification code; Enter comes as
  // kIdOk and Esc as kIdCancel, each with kBnClicked. True when handled.
  virtual bool OnCommand(int id, int code) = 0;

  // The window's controls exist (from its first show on).
  bool IsInitialized() const { return m_initialized; }
  int Dpi() const;

  // The first show builds the window (OnInitDialog), as a dialog's
  // initialisation would; every show then follows the window's screen.
  void setVisible(bool visible) override;

 protected:
  CBaseDlg(QWidget* parent, Qt::WindowFlags flags);

  // Builds the controls before the window is first mapped; calls
  // MarkInitialized once the window counts as built.
  virtual void OnInitDialog() = 0;
  // Makes the window's fonts for its dpi now.
  virtual void CreateFonts() = 0;
  // Gives the fonts to the controls.
  virtual void ApplyFonts() = 0;
  virtual Size MinimumSizeAt(int dpi) const = 0;
  virtual void LayoutControls() = 0;

  void MarkInitialized() { m_initialized = true; }
  // CreateFonts, remembering the dpi the fonts were made for.
  void BuildFonts();
  // Gives the window its minimum (MinimumSizeAt) and its opening size, then
  // centres it on the point.
  void SizeAndCentre(Size initial, QPoint centre);

  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void WatchDpi();
  // A window moved to another dpi keeps its size in 96-dpi units (taken
  // before the new minimum can grow it) and remakes its fonts before the
  // new minimum and size are set. Nothing before the window is built or
  // while the dpi stays.
  void OnDpiChanged();

  bool m_initialized = false;
  int m_fontDpi = 0;
};

}  // namespace qm
