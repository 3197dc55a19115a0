#!/usr/bin/env bash
# Builds the Debian package build-package/varnex_<version>_amd64.deb from this source tree:
# installs what is missing, builds the two programs (Release) in build-package/ and runs cpack.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/install-deps.sh
# The install step (and so cpack) needs only the two programs, not the tests and benchmarks.
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARNEX_BUILD_BENCH=OFF \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON > /dev/null
cmake --build build-package --target varnex varnex-cli -j "$(nproc)"
(cd build-package && cpack > /dev/null)
ls build-package/varnex_*_amd64.deb
