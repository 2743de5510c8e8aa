// SPDX-License-Identifier: MIT
// A fake USB bus under umockdev, on which tests plug in printers.
#include "usb/MockUsbBus.h"

#include <umockdev.h>

#include <cstdlib>
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

std::string Line(const char* prefix, const std::string& key, const std::optional<std::string>& value) {
  if (!value) return {};
  if (prefix[0] != 'A') return std::string(prefix) + key + "=" + *value + "\n";
  // Attributes go in as umockdev's binary ones, in hex: any byte (a line end
  // too) reaches the program as the device gave it.
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (const unsigned char c : *value) hex += {kHex[c >> 4], kHex[c & 0xF]};
  return "H: " + key + "=" + hex + "\n";
}

std::string Describe(const FakePrinter& printer) {
  const std::string lp = "lp" + std::to_string(printer.lp);
  std::string text;
  std::string parent = "/devices/virtual/usbmisc/";
  if (printer.hasUsbParent) {
    const std::string device = kBus + printer.port;
    text += "P: " + device + "\n";
    text += "E: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n";
    text += Line("E: ", "ID_MODEL_FROM_DATABASE", printer.modelFromDatabase);
    text += "A: idVendor=" + printer.vid + "\nA: idProduct=" + printer.pid + "\n";
    text += Line("A: ", "serial", printer.serial);
    text += Line("A: ", "manufacturer", printer.manufacturer);
    text += Line("A: ", "product", printer.product);
    text += "\n";
    const std::string interface = device + "/" + printer.port + ":1.0";
    text += "P: " + interface + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n";
    text += "A: bInterfaceClass=07\n\n";
    parent = interface + "/usbmisc/";
  }
  text += "P: " + parent + lp + "\n";
  text += "N: usb/" + lp + "\n";
  text += "E: SUBSYSTEM=usbmisc\nE: DEVNAME=/dev/usb/" + lp + "\n";
  text += "E: MAJOR=180\nE: MINOR=" + std::to_string(printer.lp) + "\n\n";
  return text;
}

}  // namespace

MockUsbBus::MockUsbBus() {
  Clear();
}

MockUsbBus::~MockUsbBus() {
  if (m_testbed != nullptr) {
    g_object_unref(m_testbed);
  }
}

bool MockUsbBus::PreloadActive() {
  const char* preload = std::getenv("LD_PRELOAD");
  return preload != nullptr && std::string(preload).find("libumockdev-preload") != std::string::npos;
}

void MockUsbBus::Plug(const FakePrinter& printer) {
  Add(Describe(printer));
}

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
  if (m_testbed != nullptr) {
    g_object_unref(m_testbed);
  }
  m_testbed = umockdev_testbed_new();
  if (m_testbed == nullptr) {
    throw std::runtime_error("umockdev test bed not created");
  }
  Add(kHostController);
}

}  // namespace qm::test
