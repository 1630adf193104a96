#!/usr/bin/env bash
# The main job: sets up and builds, then decodes a byte capture of charger frames with volttool.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
build/default/bin/volttool frames --chunk 7 resources/captures/two-channel-session.bin
