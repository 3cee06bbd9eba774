#!/usr/bin/env bash
# The desktop tool pelvan with three virtual cameras: in its window when DISPLAY is set, otherwise a short
# run under Xvfb that leaves screenshots, a snapshot and a recording in <build>/demo-out/pelvan/.
# Usage: scripts/demo.sh [build] [--headless] [--update-docs]   (--update-docs also writes docs/pelvan.png)
set -euo pipefail
build=${1:-build}
shift || true
exec /usr/bin/python3 "$(dirname "$0")/pelvan_demo.py" "$build" "$@"
