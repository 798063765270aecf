#!/usr/bin/env bash
# Builds the Debian package of harbinet with its server modules and their data:
#   tools/package.sh         -> build-release/harbinet_<version>_<arch>.deb
# Install it with: sudo apt install ./build-release/harbinet_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-release
"$root/tools/install-deps.sh"
if ! command -v dpkg-shlibdeps >/dev/null; then
  echo "package.sh: dpkg-shlibdeps finds the package's dependencies; install it with" >&2
  echo "  sudo apt-get install dpkg-dev" >&2
  exit 2
fi
# The package holds what harbinet needs, so building harbinet is enough.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNWICK_TESTS=OFF \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$build" --target harbinet -j"$(nproc)"
(cd "$build" && cpack -G DEB)
