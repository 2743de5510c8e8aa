// SPDX-License-Identifier: MIT
#include "ui/DeferredIconEngine.h"

namespace qm {

DeferredIconEngine::DeferredIconEngine(const QList<int>& sides, const QStringList& files)
    : m_files(files) {
  for (int side : sides) m_sizes.append(QSize(side, side));
}

QList<QSize> DeferredIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state) {
  // The files are normal-mode, off-state images, as QIcon::addFile adds them.
  if (mode == QIcon::Normal && state == QIcon::Off) return m_sizes;
  return {};
}

QSize DeferredIconEngine::actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) {
  return Loaded().actualSize(size, mode, state);
}

QPixmap DeferredIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
  // Ratio 1: the size asked for is already in device pixels here.
  return Loaded().pixmap(size, 1.0, mode, state);
}

void DeferredIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                               QIcon::State state) {
  Loaded().paint(painter, rect, Qt::AlignCenter, mode, state);
}

bool DeferredIconEngine::isNull() { return m_files.isEmpty(); }

QString DeferredIconEngine::key() const { return QStringLiteral("DeferredIconEngine"); }

QIconEngine* DeferredIconEngine::clone() const { return new DeferredIconEngine(*this); }

const QIcon& DeferredIconEngine::Loaded() {
  if (m_loaded.isNull()) {
    for (const QString& file : m_files) m_loaded.addFile(file);
  }
  return m_loaded;
}

}  // namespace qm
