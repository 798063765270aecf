#!/usr/bin/env bash
# Builds harbinet with the Tarnwick plug-in and opens a shipped sample (or the file given).
# Options after the file go to harbinet, e.g. --screenshot OUT.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNWICK_TESTS=OFF
cmake --build "$root/build-release" --target harbinet -j"$(nproc)"
file="$root/data/samples/yosys-counter.edf"
if [ $# -gt 0 ] && [[ "$1" != --* ]]; then
  file=$1
  shift
fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ] && [[ " $* " != *" --screenshot "* ]]; then
  echo "No display to show Harbinet on. Run it under a virtual display:" >&2
  echo "  xvfb-run -a $0 ${file}" >&2
  echo "or write a picture of its window instead:" >&2
  echo "  $0 ${file} --screenshot harbinet.png" >&2
  exit 2
fi
exec "$root/build-release/bin/harbinet" "$file" "$@"
