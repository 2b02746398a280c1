#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests (host compiler, sanitizers), the
# Win32 tests under Wine, and the end-to-end tests of the shipped executable under Wine.
# Tests always use a virtual display and a Wine prefix of their own, never the user's desktop.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/setup-debian.sh

# TOVRELLE_BUILD moves the build trees and the test prefix (several checkouts side by side).
build=${TOVRELLE_BUILD:-build}

echo "== formatting"
bash tools/check-format.sh

echo "== native unit tests"
cmake --preset host -B "$build/host" >/dev/null
cmake --build "$build/host"
ctest --test-dir "$build/host" --output-on-failure

echo "== fuzz targets, briefly, on their kept corpus"
cmake --preset fuzz -B "$build/fuzz" >/dev/null
cmake --build "$build/fuzz"
ctest --test-dir "$build/fuzz" --output-on-failure

echo "== Windows build"
cmake --preset win32 -B "$build/win32" >/dev/null
cmake --build "$build/win32"

export WINEPREFIX="$root/$build/wineprefix-test"
export TOVRELLE_WINE_MODE=test
. tools/wine-env.sh
unset DISPLAY
tovrelle_start_display
# A second prefix at 150 % display scaling (LogPixels 144), for the tests of the layout there.
dpi_prefix="$root/$build/wineprefix-test-144"
cleanup() {
  wineserver -k 2>/dev/null || true
  WINEPREFIX="$dpi_prefix" wineserver -k 2>/dev/null || true
  tovrelle_stop_display
}
trap cleanup EXIT
tovrelle_make_prefix
WINEPREFIX="$dpi_prefix" TOVRELLE_WINE_DPI=144 tovrelle_make_prefix

echo "== Win32 tests and end-to-end tests under Wine (display $DISPLAY)"
# One at a time: the tests share one display, its pointer and keyboard focus.
ctest --test-dir "$build/win32" --output-on-failure -j1 "$@"
