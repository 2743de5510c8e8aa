#!/bin/sh
# SPDX-License-Identifier: MIT
# $1: the program, started offscreen. Within 20 s its mask of ignored signals
# (SigIgn, bit N-1 for signal N) must hold SIGPIPE (13) and SIGXFSZ (25).
QT_QPA_PLATFORM=offscreen "$1" >/dev/null 2>&1 &
mask=0
for _ in $(seq 200); do
  mask=$(sed -n 's/^SigIgn:[[:space:]]*//p' "/proc/$!/status")
  [ $(( 0x${mask:-0} & 0x1001000 )) -eq $(( 0x1001000 )) ] && break
  sleep 0.1
done
kill $! && wait $!
[ $(( 0x${mask:-0} & 0x1001000 )) -eq $(( 0x1001000 )) ] || { echo "SigIgn: $mask" >&2; exit 1; }
