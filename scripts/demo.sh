#!/usr/bin/env bash
# Starts a virtual camera on 127.0.0.2 and runs the login example against it.
set -euo pipefail
build=${1:-build}
bin="$build/bin"
ip=127.0.0.2

"$bin/sarvik-vcam" --ip "$ip" --camera-id VCAM-DEMO-01 --model R640 --software-id R640-GS-V2.1.0 \
    --size 640x512 --fps 25 --lifetime 30 &
vcam=$!
trap 'kill $vcam 2>/dev/null || true; wait $vcam 2>/dev/null || true' EXIT

# Wait until the camera listens (bounded).
for _ in $(seq 1 50); do
    if (exec 3<>/dev/tcp/$ip/55502) 2>/dev/null; then break; fi
    sleep 0.1
done

"$bin/sarvik-login-demo" "$ip"
