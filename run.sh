#!/usr/bin/env bash
# Builds (Release, incremental) and starts the program.
#   ./run.sh [args]   the program, with any of its own options
#   ./run.sh --demo   the program against the simulated logger
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
build=build/release
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release -DTERMIKA_BUILD_TESTS=OFF
fi
cmake --build "$build" --parallel "$(nproc)" >&2

if [ "${1:-}" = "--demo" ]; then
  shift
  exec ./scripts/demo.sh "$build" "$@"
fi
exec "$build/src/apps/termika/termika" "$@"
