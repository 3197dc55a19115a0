#!/usr/bin/env bash
# Installs what is missing, builds the normal and the sanitizer configuration and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
jobs=$(nproc)

./tools/check-format.sh
./tools/check-layers.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNEX_WERROR=ON
cmake --build build -j "$jobs"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVARNEX_WERROR=ON -DVARNEX_SANITIZE=ON \
  -DVARNEX_BUILD_GUI=OFF -DVARNEX_BUILD_BENCH=OFF
cmake --build build-asan -j "$jobs"
(cd build-asan && ctest --output-on-failure -j "$jobs")

if [ -x tools/run-fuzzers.sh ]; then
  ./tools/run-fuzzers.sh
fi
echo "All tests passed."
