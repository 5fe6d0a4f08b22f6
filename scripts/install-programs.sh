#!/usr/bin/env bash
# Installs Mirelda and Korvane, each with its screens module, from a build
# folder into one program folder, which both programs then share: their Ctrl,
# Log and Temp folders lie in it and the data tree HpData beside it. Only the
# programs' own files are replaced, never the data. Each new file is first
# written completely under a temporary name in the program folder and then
# renamed over the old one, so that a copy still running keeps its old file.
#
# Usage: scripts/install-programs.sh BUILD_FOLDER PROGRAM_FOLDER
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 BUILD_FOLDER PROGRAM_FOLDER" >&2
  exit 2
fi
build=$1
# The programs see their folder as the kernel resolves it, links followed.
target=$(realpath -m "$2")
# The programs refuse to start from a path with a blank in it.
case "$target" in
  *" "* | *"　"*)
    echo "$0: the program folder must not contain a blank: $target" >&2
    exit 2
    ;;
esac
mkdir -p "$target"

stage=$(mktemp -d "$target/.install.XXXXXX")
trap 'rm -rf "$stage"' EXIT
cmake --install "$build" --prefix "$stage" >/dev/null
for file in "$stage"/*; do
  mv -f "$file" "$target/"
done
