// SPDX-License-Identifier: MIT
// The one way to own what a C library hands out (OpenSSL objects, udev
// objects, directory streams, the MQTT library's client and buffers) and
// file descriptors: a std::unique_ptr whose deleter calls the library's own
// release function, once, on every path.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <memory>

namespace qm {

template <typename Pointer, auto Release>
struct CRelease {
  using pointer = Pointer;
  void operator()(Pointer object) const noexcept { Release(object); }
};

// Owns a T* released with Release(T*).
template <typename T, auto Release>
using CHandle = std::unique_ptr<T, CRelease<T*, Release>>;

// A file descriptor in the place of a pointer: a negative value is null.
struct FileDescriptor {
  int fd = -1;

  FileDescriptor() = default;
  FileDescriptor(std::nullptr_t) {}  // NOLINT: null, as for a pointer
  explicit FileDescriptor(int value) : fd(value < 0 ? -1 : value) {}
  explicit operator bool() const { return fd >= 0; }
  friend bool operator==(const FileDescriptor&, const FileDescriptor&) = default;
};

inline void CloseFileDescriptor(FileDescriptor file) noexcept { ::close(file.fd); }

// Owns an open file descriptor, closed with close().
using FdHandle = std::unique_ptr<FileDescriptor, CRelease<FileDescriptor, CloseFileDescriptor>>;

}  // namespace qm
