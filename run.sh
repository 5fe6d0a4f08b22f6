#!/usr/bin/env bash
# Installs what is needed, builds in Release, installs both programs into
# their program folder and starts Mirelda from it (`./run.sh korvane` starts
# Korvane). The program folder is $MIR_PROGRAM_FOLDER, by default
# ~/MirControl/Programs; the collected data lie beside it in HpData and
# survive any rebuild or removal of the build folder.
set -euo pipefail
program_folder=$(realpath -m "${MIR_PROGRAM_FOLDER:-$HOME/MirControl/Programs}")
cd "$(dirname "$0")"
case "${1:-mirelda}" in
  mirelda|Mirelda) program=Mirelda ;;
  korvane|Korvane) program=Korvane ;;
  *) echo "usage: $0 [mirelda|korvane]" >&2; exit 2 ;;
esac
./scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIR_BUILD_TESTS=OFF >/dev/null
cmake --build build/release
./scripts/install-programs.sh build/release "$program_folder"
exec "$program_folder/$program"
