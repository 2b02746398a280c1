#!/usr/bin/env bash
# Builds the shipped program and its two baselines and prints the figures: start-up, idle CPU,
# memory before and after a simulated day, sizes, and the schedule-accuracy benchmark.
# Extra arguments go to tools/bench.py (e.g. --runs 3 --idle-seconds 20 for a quick look).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/setup-debian.sh
cmake --preset win32 -B build/bench-win32 -DBUILD_TESTING=OFF >/dev/null
cmake --build build/bench-win32
cmake --preset host -B build/bench-host -DBUILD_TESTING=OFF -DTOVRELLE_SANITIZE=OFF \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench-host --target bench_schedule

# TOVRELLE_BENCH_DPI=144 measures on a display at 150 % (a prefix of its own, LogPixels 144).
bench_dpi=${TOVRELLE_BENCH_DPI:-96}
if [ "$bench_dpi" = 96 ]; then
  export WINEPREFIX="$root/build/wineprefix-bench"
else
  export WINEPREFIX="$root/build/wineprefix-bench-$bench_dpi"
  export TOVRELLE_WINE_DPI="$bench_dpi"
fi
export TOVRELLE_WINE_MODE=test
. tools/wine-env.sh
unset DISPLAY
tovrelle_start_display
trap 'wineserver -k 2>/dev/null || true; tovrelle_stop_display' EXIT
tovrelle_make_prefix

echo "== machine: $(nproc) cores, $(uname -sr), $(wine --version), display at $bench_dpi DPI"
python3 tools/bench.py "$root/build/bench-win32/bin" "$@"
echo "== schedule accuracy (simulated timer jitter)"
build/bench-host/bench/bench_schedule
