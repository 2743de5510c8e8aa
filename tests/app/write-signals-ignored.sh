#!/bin/sh
# SPDX-License-Identifier: MIT
# $1: the program. Started on the offscreen platform, it must ignore SIGPIPE
# (13) and SIGXFSZ (25): the kernel's mask of ignored signals (SigIgn in
# /proc/PID/status, bit N-1 for signal N) must show both within 20 seconds.
QT_QPA_PLATFORM=offscreen "$1" >/dev/null 2>&1 &
pid=$!
want=$(( (1 << 12) | (1 << 24) ))
found=no
for _ in $(seq 200); do
  mask=$(sed -n 's/^SigIgn:[[:space:]]*//p' "/proc/$pid/status" 2>/dev/null)
  if [ -n "$mask" ] && [ $(( 0x$mask & want )) -eq "$want" ]; then
    found=yes
    break
  fi
  sleep 0.1
done
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
if [ "$found" != yes ]; then
  echo "SIGPIPE and SIGXFSZ not both ignored; last SigIgn: ${mask:-none}" >&2
  exit 1
fi
