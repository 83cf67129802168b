#!/usr/bin/env bash
# Starts the simulated logger (scenarios/demo.json) on a pty and the program
# wired to it; the simulator stops when the program exits.
#   scripts/demo.sh BUILD_DIR [program args]
# The simulator's frame trace goes to /tmp/termika-demo/trace.txt.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:?usage: scripts/demo.sh BUILD_DIR [program args]}
shift
sim="$build/src/apps/termika-sim/termika-sim"
gui="$build/src/apps/termika/termika"
dir=/tmp/termika-demo

for exe in "$sim" "$gui"; do
  if [ ! -x "$exe" ]; then
    echo "demo: $exe is not built" >&2
    exit 1
  fi
done

mkdir -p "$dir"
"$sim" scenarios/demo.json --link "$dir/tty1" --adapter-file "$dir/adapter" \
  --trace "$dir/trace.txt" &
sim_pid=$!

stop_sim() {
  kill -TERM "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
}
trap stop_sim EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# The program looks for the port at start-up: wait until the link exists.
for _ in $(seq 50); do
  [ -L "$dir/tty1" ] && break
  if ! kill -0 "$sim_pid" 2>/dev/null; then
    echo "demo: termika-sim did not start" >&2
    exit 1
  fi
  sleep 0.1
done

"$gui" --port-map "$dir/tty%1" --adapter "sim:$dir/adapter" "$@"
