#!/usr/bin/env bash
# Fails when a C++ source of src, tests, bench or fuzz differs from what the
# checked-in .clang-format makes of it. Uses the clang-format version that
# scripts/install-deps.sh installs, so every machine judges alike.
#   scripts/format-check.sh [FILES...]
set -euo pipefail
cd "$(dirname "$0")/.."

format=clang-format-14
command -v "$format" >/dev/null || { echo "format-check: $format is not installed" >&2; exit 1; }
if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
    'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h')
fi
if "$format" --dry-run --Werror "${files[@]}"; then
  echo "format-check: ${#files[@]} file(s) formatted"
else
  echo "format-check: run $format -i on the files above" >&2
  exit 1
fi
