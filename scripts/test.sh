#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the whole suite under
# AddressSanitizer/UBSan, the MQTT client under ThreadSanitizer, a short
# bounded run of every fuzzer, and the optimised (-O3) build with its unit
# tests, where the compiler warns about things it does not see at -O0.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

JOBS="$(nproc)"

echo "== Formatting (clang-format) =="
bash scripts/check-format.sh

echo "== ThreadSanitizer build =="
cmake --preset tsan >/dev/null
cmake --build --preset tsan
ctest --preset tsan -j "$JOBS"

if [ -f scripts/fuzz.sh ]; then
  echo "== Fuzzing (${QM_FUZZ_SECONDS:=60} s per target) =="
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz
  bash scripts/fuzz.sh "$QM_FUZZ_SECONDS"
fi

echo "== Optimised (-O3) build: unit tests =="
cmake --preset release >/dev/null
cmake --build --preset release
ctest --preset release -j "$JOBS" -L unit

echo "== AddressSanitizer + UBSan build: every test =="
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan -j "$JOBS"
