#!/usr/bin/env bash
# Builds the libFuzzer targets of the workbook readers with clang in build-fuzz and runs each for
# a short time (FUZZ_SECONDS, default 20) from the committed seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-20}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNEX_BUILD_FUZZERS=ON \
  -DVARNEX_SANITIZE=ON -DVARNEX_BUILD_GUI=OFF -DVARNEX_BUILD_BENCH=OFF > /dev/null
cmake --build build-fuzz -j "$(nproc)" --target fuzz_xlsx_reader fuzz_xls_reader
for reader in xlsx xls; do
  work=$(mktemp -d)
  cp fuzz/corpus/$reader/* "$work/"
  echo "Fuzzing the $reader reader for ${seconds}s"
  # libgsf reports broken compound files on stderr; only a crash or a timeout fails the run.
  build-fuzz/fuzz/fuzz_${reader}_reader -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=200000 "$work" 2> "$work/log" || { tail -50 "$work/log"; exit 1; }
  grep -E '^(#[0-9]+ *DONE|Done)' "$work/log" | tail -1 || true
  rm -rf "$work"
done
