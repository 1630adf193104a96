#!/usr/bin/env bash
# Sets up, builds and runs every test (unit, widget and end-to-end) of the default build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/check-format.sh
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  XDG_RUNTIME_DIR=$(mktemp -d /tmp/volt-xdg.XXXXXX)
  trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi
export XDG_RUNTIME_DIR
chmod 700 "$XDG_RUNTIME_DIR"
cmake --preset default
cmake --build --preset default
ctest --preset default -j2
