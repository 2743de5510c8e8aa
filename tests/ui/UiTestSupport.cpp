// SPDX-License-Identifier: MIT
// Helpers shared by the window tests.
#include "ui/UiTestSupport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QThread>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

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

FakeDeviceNode::FakeDeviceNode() {
  char pattern[] = "/tmp/qm-lp-XXXXXX";
  const char* dir = mkdtemp(pattern);
  if (dir == nullptr) throw std::runtime_error("mkdtemp failed");
  m_dir = dir;
  const std::string node = m_dir + "/lp0";
  if (mkfifo(node.c_str(), 0600) != 0) throw std::runtime_error("mkfifo failed");
  m_readFd = ::open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (m_readFd < 0) throw std::runtime_error("cannot open the fifo");
  m_path = std::u16string(node.begin(), node.end());
}

FakeDeviceNode::~FakeDeviceNode() {
  if (m_chokeFd >= 0) ::close(m_chokeFd);
  if (m_readFd >= 0) ::close(m_readFd);
  ::unlink((m_dir + "/lp0").c_str());
  ::rmdir(m_dir.c_str());
}

std::vector<std::uint8_t> FakeDeviceNode::TakeReceived() {
  std::vector<std::uint8_t> bytes;
  std::uint8_t buffer[4096];
  for (;;) {
    const ssize_t n = ::read(m_readFd, buffer, sizeof buffer);
    if (n <= 0) break;
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  return bytes;
}

void FakeDeviceNode::Choke() {
  const std::string node = m_dir + "/lp0";
  m_chokeFd = ::open(node.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (m_chokeFd < 0) throw std::runtime_error("cannot open the fifo for writing");
  // Fill the pipe until it refuses more: the device then takes nothing.
  std::vector<std::uint8_t> block(4096, 0x55);
  for (;;) {
    const ssize_t n = ::write(m_chokeFd, block.data(), block.size());
    if (n > 0) continue;
    if (n < 0 && errno == EINTR) continue;
    break;
  }
  block.assign(1, 0x55);
  while (::write(m_chokeFd, block.data(), 1) == 1) {
  }
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

Frame ExpectedPair(bool sw, const RecordResult& record) {
  EXPECT_TRUE(record.ok);
  Frame frames = sw ? BuildSwConfigFrame(record.json) : BuildConfigFrame(record.json);
  const Frame name = sw ? BuildSwNameFrame(record.idUtf8) : BuildNameFrame(record.idUtf8);
  frames.insert(frames.end(), name.begin(), name.end());
  return frames;
}

void ShownMainDlg::SetUp() {
  dialog = std::make_unique<CMainDlg>(nullptr, std::make_unique<FakeDeviceLister>(printers));
  dialog->show();
  ASSERT_TRUE(WaitUntil([&] { return dialog->isVisible(); }, std::chrono::seconds(5)));
  QCoreApplication::processEvents();
}

}  // namespace qm::test
