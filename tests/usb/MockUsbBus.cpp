// SPDX-License-Identifier: MIT
// A fake USB bus under umockdev, on which tests plug in printers.
#include "usb/MockUsbBus.h"

#include <umockdev.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace qm::test {
namespace {

constexpr char kBus[] = "/devices/pci0000:00/0000:00:14.0/usb1/";

// The host controller and its root hub, as on a real machine: udev's walk up
// from a printer ends at the first real device above it.
constexpr char kHostController[] =
    "P: /devices/pci0000:00/0000:00:14.0\n"
    "E: SUBSYSTEM=pci\nE: DRIVER=xhci_hcd\nE: PCI_CLASS=C0330\n\n"
    "P: /devices/pci0000:00/0000:00:14.0/usb1\n"
    "E: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: DRIVER=usb\n"
    "A: idVendor=1d6b\nA: idProduct=0002\nA: product=xHCI Host Controller\n\n";

// Attributes go in as umockdev's binary ones, in hex: any byte (a line end
// too) reaches the program as the device gave it.
std::string Attribute(const std::string& key, const std::optional<std::string>& value) {
  if (!value) return {};
  std::string line = "H: " + key + "=";
  for (const unsigned char c : *value)
    line += {"0123456789abcdef"[c >> 4], "0123456789abcdef"[c & 15]};
  return line + "\n";
}

std::string Describe(const FakePrinter& p) {
  const std::string lp = "lp" + std::to_string(p.lp);
  std::string text;
  std::string parent = "/devices/virtual/usbmisc/";
  if (p.hasUsbParent) {
    const std::string device = kBus + p.port;
    parent = device + "/" + p.port + ":1.0";
    text = "P: " + device + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n" +
           (p.modelFromDatabase ? "E: ID_MODEL_FROM_DATABASE=" + *p.modelFromDatabase + "\n" : "") +
           "A: idVendor=" + p.vid + "\nA: idProduct=" + p.pid + "\n" +
           Attribute("serial", p.serial) + Attribute("manufacturer", p.manufacturer) +
           Attribute("product", p.product) + "\nP: " + parent +
           "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\nA: bInterfaceClass=07\n\n";
    parent += "/usbmisc/";
  }
  return text + "P: " + parent + lp + "\nN: usb/" + lp +
         "\nE: SUBSYSTEM=usbmisc\nE: DEVNAME=/dev/usb/" + lp +
         "\nE: MAJOR=180\nE: MINOR=" + std::to_string(p.lp) + "\n\n";
}

}  // namespace

MockUsbBus::MockUsbBus() { Clear(); }

MockUsbBus::~MockUsbBus() { g_clear_object(&m_testbed); }

bool MockUsbBus::PreloadActive() {
  const char* preload = std::getenv("LD_PRELOAD");
  return preload != nullptr && std::strstr(preload, "libumockdev-preload") != nullptr;
}

void MockUsbBus::Plug(const FakePrinter& printer) { Add(Describe(printer)); }

void MockUsbBus::Add(const std::string& description) {
  GError* error = nullptr;
  if (!umockdev_testbed_add_from_string(m_testbed, description.c_str(), &error)) {
    const std::string message = error != nullptr ? error->message : "unknown error";
    g_clear_error(&error);
    throw std::runtime_error("umockdev refused the description: " + message);
  }
}

void MockUsbBus::Clear() {
  // umockdev keeps the emulated nodes of cleared devices, so a node could not
  // be plugged in again: start over with a new test bed instead. The old one
  // goes first, as its end resets the process's test bed folder.
  g_clear_object(&m_testbed);
  m_testbed = umockdev_testbed_new();
  Add(kHostController);
}

}  // namespace qm::test
