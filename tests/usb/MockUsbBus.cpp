// SPDX-License-Identifier: MIT
#include "usb/MockUsbBus.h"

#include <umockdev.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace qm::test {
namespace {

constexpr char kBus[] = "/devices/pci0000:00/0000:00:14.0/usb1/";

// The host controller and its root hub: udev's walk up from a printer ends there.
constexpr char kHostController[] =
    "P: /devices/pci0000:00/0000:00:14.0\nE: SUBSYSTEM=pci\nE: DRIVER=xhci_hcd\n"
    "E: PCI_CLASS=C0330\n\n"
    "P: /devices/pci0000:00/0000:00:14.0/usb1\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n"
    "E: DRIVER=usb\nA: idVendor=1d6b\nA: idProduct=0002\nA: product=xHCI Host Controller\n\n";

// A binary attribute in hex: any byte, a line end too, reaches the program as the device gave it.
std::string Attribute(const std::string& key, const std::optional<std::string>& value) {
  std::string line = value ? "H: " + key + "=" : "";
  for (const unsigned char c : value.value_or("")) {
    line += {"0123456789abcdef"[c >> 4], "0123456789abcdef"[c & 15]};
  }
  return value ? line + "\n" : line;
}

std::string Describe(const FakePrinter& p) {
  const std::string lp = "lp" + std::to_string(p.lp), device = kBus + p.port;
  const std::string node = "\nN: usb/" + lp + "\nE: SUBSYSTEM=usbmisc\nE: DEVNAME=/dev/usb/" + lp +
                           "\nE: MAJOR=180\nE: MINOR=" + std::to_string(p.lp) + "\n\n";
  if (!p.hasUsbParent) return "P: /devices/virtual/usbmisc/" + lp + node;
  const std::string interface = device + "/" + p.port + ":1.0";
  return "P: " + device + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n" +
         (p.modelFromDatabase ? "E: ID_MODEL_FROM_DATABASE=" + *p.modelFromDatabase + "\n" : "") +
         "A: idVendor=" + p.vid + "\nA: idProduct=" + p.pid + "\n" + Attribute("serial", p.serial) +
         Attribute("manufacturer", p.manufacturer) + Attribute("product", p.product) +
         "\nP: " + interface +
         "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\nA: bInterfaceClass=07\n\nP: " + interface +
         "/usbmisc/" + lp + node;
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
  // A fresh test bed (cleared nodes could not return); the old one first: it resets the folder.
  g_clear_object(&m_testbed);
  m_testbed = umockdev_testbed_new();
  Add(kHostController);
}

}  // namespace qm::test
