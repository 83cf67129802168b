#!/usr/bin/env bash
# clang-tidy with the checked-in .clang-tidy over every source of src/ (or the
# files given), using build/debug's compile database. Exits non-zero when
# anything is reported.
#   scripts/tidy.sh [FILES...]
set -euo pipefail
cd "$(dirname "$0")/.."

tidy=clang-tidy-14
command -v "$tidy" >/dev/null || { echo "tidy: $tidy is not installed" >&2; exit 1; }
[ -f build/debug/compile_commands.json ] || { echo "tidy: configure build/debug first (./test.sh)" >&2; exit 1; }
# moc's generated headers must exist for the sources that include them.
cmake --build build/debug --target termika_ui termika_sim >/dev/null

if [ $# -gt 0 ]; then files=("$@"); else mapfile -t files < <(git ls-files 'src/*.cpp'); fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for f in "${files[@]}"; do
  "$tidy" -p build/debug --quiet "$f" 2>/dev/null | grep -E ': (warning|error):' >>"$log" || true
done
sort -u "$log"
count=$(sort -u "$log" | wc -l)
echo "tidy: $count finding(s) in ${#files[@]} file(s)"
[ "$count" -eq 0 ]
