#!/usr/bin/env bash
# Builds one libFuzzer target with clang (ASan + UBSan) in build/fuzz and runs
# it for SECONDS on its seed corpus.
#   ./scripts/fuzz.sh TARGET SECONDS   e.g. ./scripts/fuzz.sh fuzz_csv 600
#   ./scripts/fuzz.sh seeds            rewrites fuzz/corpus/* from the program's writers
#   ./scripts/fuzz.sh list             names the targets
# Inputs found on the way are kept in build/fuzz/corpus/TARGET (the checked-in
# seeds stay small); a crashing input lands in build/fuzz/artifacts/TARGET/.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/fuzz
targets=$(cd fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//')

usage() {
  echo "usage: $0 TARGET SECONDS | seeds | list" >&2
  echo "targets: $(echo $targets)" >&2
  exit 2
}

configure() {
  if [ ! -f "$build/CMakeCache.txt" ]; then
    local flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all"
    flags+=" -fno-omit-frame-pointer -O1 -g"
    local generator=()
    command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
    CC=clang CXX=clang++ cmake -S . -B "$build" "${generator[@]}" \
      -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS="$flags" \
      -DTERMIKA_BUILD_TESTS=OFF -DTERMIKA_BUILD_FUZZ=ON
  fi
}

[ $# -ge 1 ] || usage
case "$1" in
  list)
    echo "$targets"
    exit 0
    ;;
  seeds)
    configure
    cmake --build "$build" --target make_seeds
    ASAN_OPTIONS=detect_leaks=0 "$build/fuzz/make_seeds" fuzz/corpus scenarios
    exit 0
    ;;
esac

[ $# -eq 2 ] || usage
target=$1
seconds=$2
echo "$targets" | grep -qx "$target" || usage
[[ "$seconds" =~ ^[0-9]+$ ]] || usage

configure
cmake --build "$build" --target "$target"

corpus="$build/corpus/$target"
artifacts="$build/artifacts/$target/"
mkdir -p "$corpus" "$artifacts"
# Qt keeps caches for the life of the process; they are not leaks of ours.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$build/fuzz/$target" "$corpus" "fuzz/corpus/$target" \
  -max_total_time="$seconds" -artifact_prefix="$artifacts" -print_final_stats=1 \
  -timeout=10 -rss_limit_mb=2048
