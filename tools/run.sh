#!/usr/bin/env bash
# Builds Tovrelle and starts it under Wine: on $DISPLAY when there is one, else on a virtual
# display, where a screenshot is written once the window is up.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/setup-debian.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32

. tools/wine-env.sh
had_display=1
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then had_display=0; fi
tovrelle_start_display
trap tovrelle_stop_display EXIT
tovrelle_make_prefix

exe="$root/build/win32/bin/tovrelle.exe"
wineserver -k 2>/dev/null || true
if [ "$had_display" = 1 ]; then
  exec wine "$exe"
fi

wine "$exe" &
pid=$!
shot="$root/build/tovrelle-screenshot.png"
for i in $(seq 1 100); do
  if xdotool search --name '^Tovrelle$' >/dev/null 2>&1; then break; fi
  sleep 0.1
done
sleep 2  # let the clock line show its first refresh
import -window root "$shot"
echo "Tovrelle runs on the virtual display $DISPLAY; screenshot: $shot"
echo "It keeps running until it is ended; press Ctrl+C here to end it."
trap 'wineserver -k 2>/dev/null || true; tovrelle_stop_display' EXIT INT TERM
wait "$pid" || true
