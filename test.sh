#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test with CTest,
# with Qt on the offscreen platform.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIR_WERROR=ON >/dev/null
cmake --build build/test
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build/test --output-on-failure --timeout 300 -j "$(nproc)"
