#!/usr/bin/env bash
# Fails when a C or C++ file of the project differs from the project's .clang-format. The
# formatter decides the layout, not a reviewer; a table that reads better aligned is kept with
# "// clang-format off" and "// clang-format on" around it.
# With --fix, formats the files in place instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=(--dry-run --Werror)
if [ "${1:-}" = "--fix" ]; then mode=(-i); fi
mapfile -t files < <(git ls-files -- '*.cpp' '*.h' '*.c' ':!:fuzz/corpus/**')
if [ ${#files[@]} -eq 0 ]; then
  echo "no sources found (not a git checkout?)" >&2
  exit 1
fi
bad=()
for f in "${files[@]}"; do
  [ -f "$f" ] || continue
  if ! clang-format "${mode[@]}" "$f" >/dev/null 2>&1; then bad+=("$f"); fi
done
if [ ${#bad[@]} -ne 0 ]; then
  echo "These files differ from .clang-format (bash tools/check-format.sh --fix):" >&2
  printf '  %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "formatting: ${#files[@]} files as .clang-format wants them"
