#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks that the installed harbinet finds its
# server modules and their data from its own location, started through bin/ from elsewhere.
#   tools/check-install.sh [BUILD_DIR]      default: build-release
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-release}
prefix=$(mktemp -d "${TMPDIR:-/tmp}/harbinet-prefix.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
fail() {
  echo "check-install: $*" >&2
  exit 1
}

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/harbinet lib/harbinet/harbinet lib/harbinet/libtarnwick.so lib/harbinet/libgrivel.so \
         lib/harbinet/System/Languages/Languages.ini lib/harbinet/System/Buttons/TextBreakpoint.png \
         share/applications/harbinet.desktop share/icons/hicolor/scalable/apps/harbinet.svg \
         share/mime/packages/harbinet.xml share/man/man1/harbinet.1; do
  [ -e "$prefix/$f" ] || fail "nothing installed at $prefix/$f"
done

# Its own settings and socket, away from the user's; no display needed.
export XDG_CONFIG_HOME=$prefix/config XDG_RUNTIME_DIR=$prefix QT_QPA_PLATFORM=offscreen
cd /
bin=$prefix/bin/harbinet
sample=$prefix/lib/harbinet/samples/yosys-counter.edf
"$bin" --version | grep -q '^harbinet [0-9]' || fail "$bin --version gave no version"
out=$(timeout 300 "$bin" --run-process Tarnwick:ViewError "FullDocumentPath=$sample|LineNumber=5" 2>&1) ||
  fail "the installed plug-in did not open $sample: $out"
timeout 300 "$bin" --screenshot "$prefix/shot.png" "$sample" >/dev/null || fail "$bin --screenshot failed"
[ -s "$prefix/shot.png" ] || fail "$bin --screenshot wrote no picture"
echo "check-install: harbinet installed from $build loads its plug-ins and data"
