#!/usr/bin/env bash
# Fuzzes every parser for a bounded time each (default 600 s; the first argument changes it).
# New inputs that reach new code are added to the kept corpus under fuzz/corpus/; a crash
# leaves its input in build/fuzz/fuzz/crash-<target>-* — add it to the corpus once fixed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-600}
bash tools/setup-debian.sh
cmake --preset fuzz -B build/fuzz >/dev/null
cmake --build build/fuzz
status=0
for target in text_integer edit_normalise date_time icon_directory skin_trim skin_format; do
  echo "== fuzz_$target for ${seconds}s"
  if ! build/fuzz/fuzz/fuzz_$target -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="build/fuzz/fuzz/crash-$target-" "fuzz/corpus/$target"; then
    status=1
  fi
done
exit $status
