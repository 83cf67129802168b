#!/usr/bin/env bash
# Builds the benchmarks in Release (build/release) and runs them all, or the
# ones named: scripts/bench.sh [bench_data bench_link ...]
# Window and print benchmarks paint offscreen. Figures are CPU time unless a
# benchmark says otherwise; docs/PERFORMANCE.md keeps the latest ones.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/release
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
    -DTERMIKA_BUILD_TESTS=OFF -DTERMIKA_BUILD_BENCH=ON
fi
if [ $# -gt 0 ]; then names=("$@"); else mapfile -t names < <(cd bench && ls bench_*.cpp | sed 's/\.cpp$//'); fi
cmake --build "$build" --target "${names[@]}"
for name in "${names[@]}"; do
  echo "== $name"
  QT_QPA_PLATFORM=offscreen "$build/bench/$name"
done
