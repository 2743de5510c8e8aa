#!/bin/sh
# SPDX-License-Identifier: MIT
# $1: the program. Without DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM it
# must refuse to start with exactly one line and exit status 1.
expected="Quillmark needs a desktop session (X11 or Wayland):\
 neither DISPLAY nor WAYLAND_DISPLAY is set."
stderr=$(env -i "$1" 2>&1 >/dev/null)
status=$?
if [ "$status" -ne 1 ] || [ "$stderr" != "$expected" ]; then
  echo "exit status $status, stderr: $stderr" >&2
  exit 1
fi
