#!/usr/bin/env bash
# Sets up, builds and runs every test (unit, widget and end-to-end) of the default build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/check-format.sh
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/volt-xdg.XXXXXX)}"
chmod 700 "$XDG_RUNTIME_DIR"
cmake --preset default
cmake --build --preset default
ctest --preset default -j2
