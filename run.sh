#!/usr/bin/env bash
# Installs what is needed, builds in Release and starts Mirelda
# (`./run.sh korvane` starts Korvane).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIR_BUILD_TESTS=OFF >/dev/null
cmake --build build/release
case "${1:-mirelda}" in
  mirelda|Mirelda) exec build/release/apps/mirelda/Mirelda ;;
  korvane|Korvane) exec build/release/apps/korvane/Korvane ;;
  *) echo "usage: $0 [mirelda|korvane]" >&2; exit 2 ;;
esac
