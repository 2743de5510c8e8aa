#!/usr/bin/env bash
# Runs every libFuzzer target of the fuzz build for a bounded time each and
# fails on any crash, time-out, leak or sanitizer report.
#
#   cmake --preset fuzz && cmake --build --preset fuzz
#   bash scripts/fuzz.sh [seconds per target, default 60]
#
# Each target starts from its seed corpus (fuzz/corpus/<area>/ plus, for the
# certificate check, certificates and a key made here with openssl) copied
# into a scratch directory, so the tree stays clean. Crash inputs are kept
# under build/fuzz/artifacts/<area>/.
set -euo pipefail
cd "$(dirname "$0")/.."

SECONDS_PER_TARGET="${1:-60}"
BUILD_DIR="build/fuzz"
ARTIFACTS="$BUILD_DIR/artifacts"

mapfile -t TARGETS < <(find "$BUILD_DIR/fuzz" -type f -name 'fuzz_*' -perm -u+x 2>/dev/null | sort)
if [ "${#TARGETS[@]}" -eq 0 ]; then
  echo "fuzz.sh: no fuzz targets under $BUILD_DIR (build the 'fuzz' preset first)" >&2
  exit 1
fi

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

# Certificate seeds made at run time: no key or certificate is kept in git.
make_certificate_seeds() {
  local out="$1" tmp="$WORK/openssl"
  mkdir -p "$tmp"
  openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes \
    -keyout "$tmp/key.pem" -subj "/C=CN/O=Quillmark Fuzz/CN=Fuzz Root" -days 30 \
    -out "$out/fresh.pem" 2>/dev/null
  openssl req -x509 -key "$tmp/key.pem" -subj "/OU=Unit Only" -days 1 \
    -set_serial 7 -out "$out/unit-only.pem" 2>/dev/null
  sed 's/$/\r/' "$out/fresh.pem" >"$out/crlf.pem"
  { printf 'Root CA for the printer\n'; cat "$out/fresh.pem" "$out/unit-only.pem"; } >"$out/two-blocks.pem"
  openssl x509 -in "$out/fresh.pem" -outform DER -out "$out/fresh.der"
  cp "$tmp/key.pem" "$out/key.pem"
}

status=0
for target in "${TARGETS[@]}"; do
  name="$(basename "$target")"
  area="${name#fuzz_}"
  corpus="$WORK/corpus/$area"
  mkdir -p "$corpus" "$ARTIFACTS/$area"
  if [ -d "fuzz/corpus/$area" ]; then
    cp fuzz/corpus/"$area"/* "$corpus"/
  fi
  if [ "$area" = "ca_certificate" ]; then
    make_certificate_seeds "$corpus"
  fi
  options=(-max_total_time="$SECONDS_PER_TARGET" -timeout=10 -rss_limit_mb=2048
           -max_len=8192 -print_final_stats=1 -artifact_prefix="$ARTIFACTS/$area/")
  if [ -f "fuzz/dict/$area.dict" ]; then
    options+=(-dict="fuzz/dict/$area.dict")
  fi
  log="$WORK/$area.log"
  echo "-- $name: ${SECONDS_PER_TARGET} s, $(find "$corpus" -type f | wc -l) seeds"
  if ! ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:halt_on_error=1" \
       UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
       "$target" "${options[@]}" "$corpus" >"$log" 2>&1; then
    echo "FAIL: $name stopped with an error; its log follows" >&2
    tail -n 60 "$log" >&2
    status=1
    continue
  fi
  if grep -Eq 'ERROR: (AddressSanitizer|LeakSanitizer|UndefinedBehaviorSanitizer|libFuzzer)|runtime error:' "$log"; then
    echo "FAIL: $name reported a sanitizer finding; its log follows" >&2
    grep -E -A20 'ERROR:|runtime error:' "$log" | head -n 80 >&2
    status=1
    continue
  fi
  runs="$(grep -Eo 'stat::number_of_executed_units: +[0-9]+' "$log" | grep -o '[0-9]*$' || true)"
  speed="$(grep -Eo 'stat::average_exec_per_sec: +[0-9]+' "$log" | grep -o '[0-9]*$' || true)"
  cov="$(grep -E '^#[0-9]+' "$log" | grep -o 'cov: [0-9]* ft: [0-9]* corp: [0-9/a-zA-Z]*' | tail -n 1 || true)"
  echo "   ok: ${runs:-?} runs, ${speed:-?} exec/s, ${cov:-no coverage line}"
done
exit "$status"
