#!/usr/bin/env bash
# The desktop tool pelvan with three virtual cameras, then the dual-light tool qelm with a thermal and a visible
# camera: in their windows when DISPLAY is set, otherwise short runs under Xvfb that leave screenshots and
# recordings in <build>/demo-out/pelvan/ and <build>/demo-out/qelm/.
# Usage: scripts/demo.sh [build] [--headless] [--update-docs]
#   (--update-docs also writes docs/pelvan*.png and docs/qelm*.png)
set -euo pipefail
build=${1:-build}
shift || true
here=$(dirname "$0")
/usr/bin/python3 "$here/pelvan_demo.py" "$build" "$@"
exec /usr/bin/python3 "$here/qelm_demo.py" "$build" "$@"
