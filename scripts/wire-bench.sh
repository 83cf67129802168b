#!/usr/bin/env bash
# Download wall time against wire time over a pty, with termika-sim sending
# at the baud rate (10 bits a byte) behind an adapter latency timer, and
# termika-cli downloading. Prints a Markdown table.
#   scripts/wire-bench.sh [BUILD_DIR]       default build/release
# Environment: BAUDS (default "9600 14400 19200 38400 57600 115200"),
# LATENCIES ("16 1"), MODES ("fast slow"), FAST_POINTS (15000), SLOW_POINTS (2000).
#
# Both times come from the simulator's trace and cover the download itself:
# from the first request after the identify wait to the last byte. Wire time
# is every byte of that span, both ways, at 10 bits a byte. The floor is what
# this set-up cannot beat even with an infinitely fast program: the logger's
# answers at the baud rate plus one adapter latency per request (the
# simulator receives requests at once, as the pty delivers them).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/release}
sim="$build/src/apps/termika-sim/termika-sim"
cli="$build/src/apps/termika-cli/termika-cli"
for exe in "$sim" "$cli"; do
  [ -x "$exe" ] || { echo "wire-bench: $exe is not built (cmake --build $build)" >&2; exit 1; }
done

dir=$(mktemp -d /tmp/termika-wire.XXXXXX)
sim_pid=
cleanup() {
  [ -n "$sim_pid" ] && kill -TERM "$sim_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$dir"
}
trap cleanup EXIT

scenario() {  # points -> file
  local file="$dir/points-$1.json"
  cat >"$file" <<JSON
{"model": "QM100-RH", "loggerName": "WIRE", "clock": "2026-12-06 09:00:00",
 "interval": {"unit": "minutes", "value": 1},
 "recording": {"blocks": [{"start": "2026-11-25 00:00:00", "points": $1}]}, "sensor": {"seed": 5}}
JSON
  echo "$file"
}

# wall_ms wire_ms floor_ms of a trace at a baud rate and adapter latency
measure_trace() {
  awk -v baud="$2" -v latency="$3" '
    /pc->logger|logger->pc/ {
      rows++
      if (rows <= 2) next            # the identify request and its answer
      if (start == "") start = $1
      last = $1
      bytes += NF - 2
      if ($2 == "pc->logger") requests++; else answered += NF - 2
    }
    END {
      printf "%d %d %d\n", last - start, bytes * 10 * 1000 / baud,
             answered * 10 * 1000 / baud + requests * latency
    }' "$1"
}

echo "| Baud | Mode | Latency | Points | Wall | Wire | Floor | Wall/floor | Per point | 15000 points |"
echo "|---:|---|---:|---:|---:|---:|---:|---:|---:|---:|"
for latency in ${LATENCIES:-16 1}; do
  for mode in ${MODES:-fast slow}; do
    for baud in ${BAUDS:-9600 14400 19200 38400 57600 115200}; do
      if [ "$mode" = fast ]; then points=${FAST_POINTS:-15000}; flag=(); else points=${SLOW_POINTS:-2000}; flag=(--slow); fi
      rm -f "$dir/tty1"
      "$sim" "$(scenario "$points")" --link "$dir/tty1" --paced --baud "$baud" --latency "$latency" \
        --trace "$dir/trace.txt" >"$dir/sim.log" 2>&1 &
      sim_pid=$!
      for _ in $(seq 100); do [ -L "$dir/tty1" ] && break; sleep 0.05; done
      if ! "$cli" --device "$dir/tty1" --baud "$baud" download "${flag[@]}" -o "$dir/out.csv" \
          >"$dir/cli.log" 2>&1; then
        echo "wire-bench: download failed at $baud baud, $mode: $(tail -2 "$dir/cli.log")" >&2
        exit 1
      fi
      kill -TERM "$sim_pid"; wait "$sim_pid" || true; sim_pid=
      got=$(($(wc -l <"$dir/out.csv") - 3))
      [ "$got" -eq "$points" ] || { echo "wire-bench: $got of $points points" >&2; exit 1; }
      read -r wall wire floor < <(measure_trace "$dir/trace.txt" "$baud" "$latency")
      awk -v b="$baud" -v m="$mode" -v l="$latency" -v p="$points" -v w="$wall" -v r="$wire" \
          -v f="$floor" 'BEGIN {
        printf "| %d | %s | %d ms | %d | %.2f s | %.2f s | %.2f s | %.3f | %.2f ms | %.0f s |\n",
               b, m, l, p, w / 1000, r / 1000, f / 1000, w / f, w / p, w / p * 15000 / 1000 }'
    done
  done
done
