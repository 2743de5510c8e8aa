#!/usr/bin/env bash
# Installs what is missing, builds everything and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
# A window needs a desktop session; say so before building anything.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Quillmark needs a desktop session (X11 or Wayland):" \
    "neither DISPLAY nor WAYLAND_DISPLAY is set." >&2
  exit 1
fi
bash scripts/install-deps.sh
cmake --preset release
cmake --build --preset release
if [ -x build/release/src/app/quillmark ]; then
  exec build/release/src/app/quillmark "$@"
fi
echo "Built, but build/release/src/app/quillmark is missing." >&2
exit 1
