#!/usr/bin/env bash
# Builds everything in Debug with warnings as errors and runs every test.
#   ./test.sh             the normal suite
#   ./test.sh --sanitize  the same under AddressSanitizer + UBSan
set -euo pipefail
cd "$(dirname "$0")"

build=build/debug
extra=()
if [ "${1:-}" = "--sanitize" ]; then
  build=build/sanitize
  extra=(-DTERMIKA_SANITIZE=ON)
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi

./scripts/install-deps.sh
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug "${extra[@]}"
fi
cmake --build "$build" --parallel "$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
