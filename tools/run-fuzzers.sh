#!/usr/bin/env bash
# Builds the libFuzzer targets of the workbook readers and the settings-file parser with clang in
# build-fuzz and runs each from the committed seed corpus. The run is repeatable: a fixed seed and a
# fixed number of inputs per target (FUZZ_RUNS scales them, FUZZ_SEED picks another sequence for
# exploring by hand), with FUZZ_SECONDS (default 60) as an upper bound on slow machines.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
seed=${FUZZ_SEED:-1}
scale=${FUZZ_RUNS:-1}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNEX_BUILD_FUZZERS=ON \
  -DVARNEX_SANITIZE=ON -DVARNEX_BUILD_GUI=OFF -DVARNEX_BUILD_BENCH=OFF > /dev/null
cmake --build build-fuzz -j "$(nproc)" --target fuzz_xlsx_reader fuzz_xls_reader fuzz_xml_spreadsheet_reader \
  fuzz_html_reader fuzz_csv_reader fuzz_ini_file
# Each entry: target, seed corpus folder, inputs, fast unwinding, longest input. The .xls reader runs
# with full allocation stacks, so that the suppression of libgsf's own loss matches its frames
# (libgsf is built without frame pointers). The numbers of inputs keep the whole run to about a
# minute on the CI machines (about 20 s each for .xlsx and .xls, 15 s for the rest); settings files
# are small, so their inputs are kept short and take a few seconds.
for entry in xlsx_reader:xlsx:200000:1:200000 xls_reader:xls:30000:0:200000 \
  xml_spreadsheet_reader:xml_spreadsheet:50000:1:200000 html_reader:html:30000:1:200000 \
  csv_reader:csv:50000:1:200000 ini_file:ini:60000:1:4096; do
  IFS=: read -r target corpus runs fast maxlen <<< "$entry"
  runs=$(( runs * scale ))
  work=$(mktemp -d)
  mkdir "$work/corpus"
  cp fuzz/corpus/$corpus/* "$work/corpus/"
  echo "Fuzzing $target: $runs inputs from seed $seed"
  # libgsf reports broken compound files on stderr; only a crash, a leak or a timeout fails the run.
  ASAN_OPTIONS=fast_unwind_on_malloc=$fast LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp:print_suppressions=0" \
  build-fuzz/fuzz/fuzz_${target} -seed="$seed" -runs="$runs" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -max_len="$maxlen" -artifact_prefix="$work/" "$work/corpus" 2> "$work/log" || {
    grep -v -e '^$' -e 'msole-' "$work/log" | tail -60
    echo "The failing input is kept in $work"
    exit 1
  }
  grep -E '^(#[0-9]+ *DONE|Done)' "$work/log" | tail -1 || true
  rm -rf "$work"
done
