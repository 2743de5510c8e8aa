#!/usr/bin/env bash
# Installs what is missing, builds everything and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release
cmake --build --preset release
if [ -x build/release/src/ui/quillmark ]; then
  exec build/release/src/ui/quillmark "$@"
fi
echo "Built, but build/release/src/ui/quillmark is missing." >&2
exit 1
