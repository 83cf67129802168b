#!/usr/bin/env bash
# A continuous measurement at the shortest spacing (2 s) for a long time,
# through termika-cli (or with --window the main window, offscreen) against
# termika-sim on a pty, watching the program's memory and open handles. Not
# part of ./test.sh: it takes minutes.
#   scripts/soak.sh [--window] [SECONDS] [BUILD_DIR]    defaults: 600 build/release
# Prints one line per minute (points, RSS, handles) and a verdict: the run
# fails when points are missing or memory or handles grew.
set -euo pipefail
cd "$(dirname "$0")/.."

window=false
if [ "${1:-}" = "--window" ]; then window=true; shift; fi
seconds=${1:-600}
build=${2:-build/release}
[[ "$seconds" =~ ^[0-9]+$ ]] && [ "$seconds" -ge 60 ] || { echo "soak: SECONDS must be >= 60" >&2; exit 2; }
sim="$build/src/apps/termika-sim/termika-sim"
cli="$build/src/apps/termika-cli/termika-cli"
for exe in "$sim" "$cli"; do
  [ -x "$exe" ] || { echo "soak: $exe is not built (cmake --build $build)" >&2; exit 1; }
done

dir=$(mktemp -d /tmp/termika-soak.XXXXXX)
"$sim" scenarios/fresh-qm100.json --link "$dir/tty1" --adapter-file "$dir/adapter" >"$dir/sim.log" 2>&1 &
sim_pid=$!
cli_pid=
cleanup() {
  [ -n "$cli_pid" ] && kill "$cli_pid" 2>/dev/null || true
  kill -TERM "$sim_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$dir"
}
trap cleanup EXIT
for _ in $(seq 100); do [ -L "$dir/tty1" ] && break; sleep 0.05; done
[ -L "$dir/tty1" ] || { echo "soak: termika-sim did not start" >&2; cat "$dir/sim.log" >&2; exit 1; }

if $window; then
  soak="$build/bench/soak_window"
  [ -x "$soak" ] || { echo "soak: $soak is not built (-DTERMIKA_BUILD_BENCH=ON, target soak_window)" >&2; exit 1; }
  QT_QPA_PLATFORM=offscreen "$soak" "$seconds" "$dir/tty%1" "$dir/adapter"
  exit $?
fi

points=$((seconds / 2))
# Ten points more than the watched span, so the program is still measuring
# when the last sample is taken.
"$cli" --device "$dir/tty1" measure --count $((points + 10)) --every 2 >"$dir/points.csv" 2>"$dir/cli.err" &
cli_pid=$!
began=$SECONDS

rss() { awk '/^VmRSS/ {print $2}' "/proc/$cli_pid/status"; }
handles() { ls "/proc/$cli_pid/fd" | wc -l; }
sample() { printf '%6ss  %6s points  RSS %6s kB  %3s handles\n' "$1" "$(wc -l <"$dir/points.csv")" "$(rss)" "$(handles)"; }
wait_until() { while [ $((SECONDS - began)) -lt "$1" ]; do sleep 1; done; }

# The first points settle the allocator; growth is judged from 20 s on.
wait_until 20
start_rss=$(rss); start_handles=$(handles)
sample 20
for at in $(seq 80 60 $((seconds - 1))); do
  wait_until "$at"
  sample "$at"
done
wait_until "$seconds"
end_rss=$(rss); end_handles=$(handles)
sample "$seconds"
wait "$cli_pid" && status=0 || status=$?
cli_pid=
got=$(wc -l <"$dir/points.csv")
points=$((points + 10))

echo "points: $got of $points; RSS ${start_rss} -> ${end_rss} kB; handles ${start_handles} -> ${end_handles}"
verdict=0
[ "$status" -eq 0 ] || { echo "soak: termika-cli failed ($status): $(cat "$dir/cli.err")"; verdict=1; }
[ "$got" -eq "$points" ] || { echo "soak: points are missing"; verdict=1; }
# Allocator noise stays well under 1 MB; a leak of a record per point does not.
[ $((end_rss - start_rss)) -lt 1024 ] || { echo "soak: memory grew"; verdict=1; }
[ "$end_handles" -le "$start_handles" ] || { echo "soak: handles grew"; verdict=1; }
[ "$verdict" -eq 0 ] && echo "soak: ok"
exit "$verdict"
