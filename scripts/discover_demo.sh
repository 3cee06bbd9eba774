#!/usr/bin/env bash
# Discovery against two virtual cameras inside a private network namespace, so that no broadcast ever
# reaches a real network. Needs root (to create the namespace). Usage: scripts/discover_demo.sh [build]
set -euo pipefail
build=${1:-build}
bin="$(cd "$build/bin" && pwd)"

if [ -z "${SARVIK_DISCOVER_DEMO_NETNS:-}" ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "discover_demo: creating a network namespace needs root; try: sudo $0 $build" >&2
        exit 1
    fi
    SARVIK_DISCOVER_DEMO_NETNS=1 exec unshare -n "$0" "$build"
fi

# From here on we are in the new namespace: refuse to go on if it is not empty.
if [ "$(ip -o link show | wc -l)" -ne 1 ]; then
    echo "discover_demo: not in a fresh network namespace; stopping" >&2
    exit 1
fi
ip link set lo up
# The PC side: one veth end with an address and the default route, the other end up without one.
ip link add v0 type veth peer name v1
ip addr add 10.77.0.1/24 dev v0
ip link set v1 up
ip link set v0 up
ip route add default dev v0

pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null || true' EXIT
"$bin/sarvik-vcam" --ip 127.0.2.11 --discovery --camera-id VCAM-DEMO-A --model R384 --size 384x288 --fps 30 \
    --software-id R384-V1.2.0 --lifetime 30 >/dev/null &
pids+=($!)
"$bin/sarvik-vcam" --ip 127.0.2.12 --discovery --camera-id VCAM-DEMO-B --model R640 --size 640x512 --fps 25 \
    --software-id R640-GS-V2.1.0 --lifetime 30 >/dev/null &
pids+=($!)

# Wait until both cameras listen (bounded).
for ip in 127.0.2.11 127.0.2.12; do
    for _ in $(seq 1 50); do
        if (exec 3<>"/dev/tcp/$ip/55502") 2>/dev/null; then break; fi
        sleep 0.1
    done
done

"$bin/sarvik-discover-demo"
