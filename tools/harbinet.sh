#!/usr/bin/env bash
# Builds harbinet with the Tarnwick plug-in and opens a shipped sample (or the file given).
# Any further arguments go to harbinet, e.g. --screenshot OUT.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNWICK_TESTS=OFF >/dev/null
cmake --build "$root/build" --target harbinet -j"$(nproc)"
file=${1:-$root/data/samples/yosys-counter.edf}
[ $# -gt 0 ] && shift
exec "$root/build/bin/harbinet" "$file" "$@"
