// SPDX-License-Identifier: MIT
// Helpers shared by the window tests.
#include "ui/UiTestSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QThread>

namespace qm::test {
namespace {

QString& HomeStorage() {
  static QString home;
  return home;
}

}  // namespace

void SetScratchHome(const QString& path) { HomeStorage() = path; }
const QString& ScratchHome() { return HomeStorage(); }

QStringList FilesUnderScratchHome() {
  QStringList files;
  QDirIterator it(ScratchHome(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
  while (it.hasNext()) files << it.next();
  return files;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  QDeadlineTimer deadline(limit);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return true;
}

void Pump(std::chrono::milliseconds duration) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < duration.count()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
}

QRgb Rgb24(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

bool Draws(const QImage& image, QRgb colour, const QRect& area) {
  const QRect inside = area.isNull() ? image.rect() : area & image.rect();
  for (int x = inside.left(); x <= inside.right(); ++x) {
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
      if (Rgb24(image, x, y) == colour) return true;
    }
  }
  return false;
}

void MaybeSaveShot(const QImage& image, const QString& name) {
  const QByteArray dir = qgetenv("QM_SHOT_DIR");
  if (dir.isEmpty()) return;
  image.save(QString::fromLocal8Bit(dir) + QStringLiteral("/") + name + QStringLiteral(".png"));
}

const FieldSpec* FindField(const PageState& page, std::u16string_view key) {
  for (const auto& field : page.fields) {
    if (field->key == key) return field.get();
  }
  return nullptr;
}

Frame ExpectedPair(bool sw, std::string_view json, std::string_view name) {
  const auto size = [](std::string_view text) { return static_cast<std::uint8_t>(text.size()); };
  Frame out = sw ? Frame{0x53, 0x57, 0xF1, size(json), 0, 0, 0} : Frame{0x1B, 0x1C, 0x1D, 0x08, 0x04};
  out.insert(out.end(), json.begin(), json.end());
  if (!sw) out.insert(out.end(), {0x0D, 0x0A, 0x1D, 0x1E, 0x1F});
  const Frame nameHead = sw ? Frame{0x53, 0x57, 0xF0, size(name), 0, 0, 0} : Frame{0x1B, 0x1C, 0x1D, 0x01, 0x01, size(name)};
  out.insert(out.end(), nameHead.begin(), nameHead.end());
  out.insert(out.end(), name.begin(), name.end());
  if (!sw) out.insert(out.end(), {0x1D, 0x1E, 0x1F, 0x1B, 0x1C, 0x1D, 0xFE, 0xED, 0x1D, 0x1E, 0x1F});
  return out;
}

void ShownMainDlg::SetUp() {
  dialog = std::make_unique<CMainDlg>(nullptr, std::make_unique<FakeDeviceLister>(printers));
  dialog->show();
  ASSERT_TRUE(WaitUntil([&] { return dialog->isVisible(); }, std::chrono::seconds(5)));
  QCoreApplication::processEvents();
}

}  // namespace qm::test
