#!/usr/bin/env bash
# The main job: sets up and builds, then runs the charger simulator for 20 s (a LiPo charging on
# channel 1, a NiMh pack discharging on channel 2, 30 times faster than real time) and shows the
# frames it sends, decoded by volttool as they arrive. Ends by itself.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
bin=build/default/bin
work=$(mktemp -d "${TMPDIR:-/tmp}/voltaris-run.XXXXXX")
trap 'kill "$sim" 2>/dev/null || true; rm -rf "$work"' EXIT
"$bin/voltsim" --scenario dual --speed 30 --duration 20 --link "$work/charger" >"$work/path" &
sim=$!
# The simulator prints its link once the device is there.
for _ in $(seq 100); do
  [ -s "$work/path" ] && break
  sleep 0.05
done
[ -s "$work/path" ] || { echo "voltsim did not start" >&2; exit 1; }
"$bin/volttool" frames "$(cat "$work/path")"
wait "$sim"
