// SPDX-License-Identifier: MIT
// An icon made of image files of known sizes that reads the files only when
// a pixmap is first asked for: QIcon::addFile decodes every file at once,
// which is a noticeable part of the program's start-up.
#pragma once

#include <QIcon>
#include <QIconEngine>
#include <QList>
#include <QSize>
#include <QStringList>

namespace qm {

class DeferredIconEngine final : public QIconEngine {
 public:
  // One square image file per side length, in the same order.
  DeferredIconEngine(const QList<int>& sides, const QStringList& files);

  // The sizes are known without reading a file; everything else reads them
  // all into an ordinary QIcon once and answers from it.
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
  bool isNull() override;
  QString key() const override;
  QIconEngine* clone() const override;

 private:
  const QIcon& Loaded();

  QList<QSize> m_sizes;
  QStringList m_files;
  QIcon m_loaded;
};

}  // namespace qm
