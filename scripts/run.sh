#!/usr/bin/env bash
# `make run`: a simulated PX510 on a pseudo-terminal and corviastation set
# to find it, so the first connect and measurement work without hardware.
# Closing the program stops the simulator.
set -euo pipefail
build=${1:-build}
bin="$build/bin"

case "${QT_QPA_PLATFORM:-}" in
  offscreen|minimal)
    echo "make run: QT_QPA_PLATFORM=$QT_QPA_PLATFORM shows no window; unset it to see the program." >&2
    exit 1 ;;
esac
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "make run: there is no display here (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
  echo "Run it from a desktop session, or on a virtual screen: xvfb-run -a make run" >&2
  exit 1
fi
for program in px510sim corviastation; do
  if [ ! -x "$bin/$program" ]; then
    echo "make run: $bin/$program is missing; build first (make build)." >&2
    exit 1
  fi
done

tmp=$(mktemp -d)
"$bin/px510sim" --pace --link "$tmp/px510" >"$tmp/px510sim.log" 2>&1 &
sim=$!
stop_simulator() {
  kill "$sim" 2>/dev/null || true
  wait "$sim" 2>/dev/null || true
  rm -rf "$tmp"
}
trap stop_simulator EXIT

for _ in $(seq 50); do
  [ -e "$tmp/px510" ] && break
  sleep 0.1
done
if [ ! -e "$tmp/px510" ]; then
  echo "make run: the simulated tester did not start:" >&2
  cat "$tmp/px510sim.log" >&2
  exit 1
fi

echo "Simulated PX510 on $tmp/px510. Click 启动连接, then 启动测量."
PX510_PORTS="$tmp/px510" "$bin/corviastation"
