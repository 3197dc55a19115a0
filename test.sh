#!/usr/bin/env bash
# Installs what is missing, builds the normal, the address-sanitizer and the thread-sanitizer
# configuration, runs every test and fuzzes the readers; prints how long each stage took.
set -euo pipefail
cd "$(dirname "$0")"
jobs=$(nproc)

# Each stage's wall time, printed at the end (also when a stage fails).
started=$SECONDS
stage_times=()
print_stage_times() {
  echo "Stage times:"
  for line in "${stage_times[@]}"; do echo "  $line"; done
  echo "  total: $((SECONDS - started)) s"
}
trap print_stage_times EXIT
stage() {
  local name=$1 from=$SECONDS
  shift
  "$@"
  stage_times+=("stage $name: $((SECONDS - from)) s")
}

# gcc 12's ThreadSanitizer cannot place its shadow memory where a kernel with more address
# randomisation (vm.mmap_rnd_bits above 28) maps programs ("FATAL: ThreadSanitizer: unexpected memory
# mapping"). Its build (which runs the test programs to list their tests) and its tests therefore run
# with address randomisation turned off for them, where the kernel lets a process do that.
no_aslr=()
if setarch "$(uname -m)" -R true 2> /dev/null; then
  no_aslr=(setarch "$(uname -m)" -R)
elif [ "$(cat /proc/sys/vm/mmap_rnd_bits 2> /dev/null || echo 0)" -gt 28 ]; then
  echo "Address randomisation cannot be turned off here (setarch -R): ThreadSanitizer may fail;" \
    "sysctl vm.mmap_rnd_bits=28 lets it run." >&2
fi

build() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNEX_WERROR=ON
  cmake --build build -j "$jobs"
}
run_tests() {
  (cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")
}
# The address and undefined-behaviour sanitizers, with the window on Qt's offscreen platform.
asan_build() {
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVARNEX_WERROR=ON -DVARNEX_SANITIZE=ON \
    -DVARNEX_BUILD_GUI=ON -DVARNEX_BUILD_BENCH=OFF
  cmake --build build-asan -j "$jobs"
}
asan_tests() {
  (cd build-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")
}
# ThreadSanitizer: only the tests of the code that runs on threads of its own (see tests/CMakeLists.txt).
tsan_build() {
  cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNEX_WERROR=ON -DVARNEX_TSAN=ON \
    -DVARNEX_BUILD_GUI=OFF -DVARNEX_BUILD_BENCH=OFF
  "${no_aslr[@]}" cmake --build build-tsan -j "$jobs" --target varnex_tsan_tests
}
tsan_tests() {
  (cd build-tsan && TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1" \
    "${no_aslr[@]}" ctest --output-on-failure -j "$jobs")
}
fuzzers() {
  if [ -x tools/run-fuzzers.sh ]; then
    ./tools/run-fuzzers.sh
  fi
}
checks() {
  ./tools/check-format.sh
  ./tools/check-layers.sh
}

stage deps ./tools/install-deps.sh
stage checks checks
stage build build
stage tests run_tests
stage "asan build" asan_build
stage "asan tests" asan_tests
stage "tsan build" tsan_build
stage "tsan tests" tsan_tests
stage fuzzers fuzzers
echo "All tests passed."
