#!/usr/bin/env bash
# Starts a virtual camera on 127.0.0.2, runs the login example against it, then the live preview example:
# frame rate and temperatures, a stream file, a snapshot and a PNG of one rendered frame.
set -euo pipefail
build=${1:-build}
bin="$build/bin"
ip=127.0.0.2
out="$build/demo-out"

"$bin/sarvik-vcam" --ip "$ip" --camera-id VCAM-DEMO-01 --model R640 --software-id R640-GS-V2.1.0 \
    --size 640x512 --fps 25 --data-kind 2 --lifetime 30 &
vcam=$!
trap 'kill $vcam 2>/dev/null || true; wait $vcam 2>/dev/null || true' EXIT

# Wait until the camera listens (bounded).
for _ in $(seq 1 50); do
    if (exec 3<>/dev/tcp/$ip/55502) 2>/dev/null; then break; fi
    sleep 0.1
done

"$bin/sarvik-login-demo" "$ip"
echo
mkdir -p "$out"
timeout 60 "$bin/sarvik-preview-demo" "$ip" "$out" 3
echo
timeout 60 "$bin/sarvik-video-demo" "$ip" "$out" 2
