#!/usr/bin/env bash
# A fake visible-light GigE Vision camera (Aravis's fake camera with our feature description) on one address.
#
#   scripts/fake_vis_camera.sh start ADDRESS [SERIAL]   start it in the background, wait until it listens
#   scripts/fake_vis_camera.sh stop ADDRESS             stop it (and give back the address, if we added it)
#   scripts/fake_vis_camera.sh run ADDRESS [SERIAL]     run it in the foreground until Ctrl-C
#
# The fake camera only listens on an address some interface carries. A loopback address (127.x.y.z) that no
# interface has is added to lo as a /32 for the camera's lifetime, which needs root. Each camera lives at most
# FAKE_VIS_LIFETIME seconds (default 3600). Use 127.0.34.1 ... 127.0.34.30, one address per camera.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
xml="$here/mvcam/fake/mvcam-fake-camera.xml"
lifetime=${FAKE_VIS_LIFETIME:-3600}
state=${XDG_RUNTIME_DIR:-/tmp}/sarvik-fake-vis

usage() {
    sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
}

[ $# -ge 2 ] || usage
cmd=$1
addr=$2
serial=${3:-VIS$(echo "$addr" | tr -dc '0-9' | tail -c 9)}
[[ "$addr" =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "not an IPv4 address: $addr" >&2; exit 2; }
command -v arv-fake-gv-camera-0.8 >/dev/null || { echo "arv-fake-gv-camera-0.8 missing (make deps)" >&2; exit 1; }
mkdir -p "$state"
pidfile="$state/$addr.pid"
addedfile="$state/$addr.added"

has_address() { ip -o -4 addr show | grep " inet $1/" >/dev/null; }  # reads all: -q could cut the pipe

claim_address() {
    has_address "$addr" && return 0
    if [[ "$addr" != 127.* ]]; then
        echo "no interface carries $addr" >&2
        exit 1
    fi
    if [ "$(id -u)" -ne 0 ]; then
        echo "$addr is not on lo and only root can add it (or use an address lo carries)" >&2
        exit 1
    fi
    ip addr add "$addr/32" dev lo
    touch "$addedfile"
}

release_address() {
    if [ -e "$addedfile" ]; then
        ip addr del "$addr/32" dev lo 2>/dev/null || true
        rm -f "$addedfile"
    fi
}

# Listening on GVCP (UDP 3956) at the address: bounded to 10 s.
wait_listening() {
    for _ in $(seq 100); do
        ss -Huln "src $addr:3956" 2>/dev/null | grep . >/dev/null && return 0
        kill -0 "$1" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

case "$cmd" in
start)
    if [ -e "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null; then
        echo "already running on $addr (pid $(cat "$pidfile"))"
        exit 0
    fi
    claim_address
    timeout "$lifetime" arv-fake-gv-camera-0.8 -i "$addr" -s "$serial" -g "$xml" >"$state/$addr.log" 2>&1 &
    pid=$!
    echo "$pid" >"$pidfile"
    if ! wait_listening "$pid"; then
        kill "$pid" 2>/dev/null || true
        rm -f "$pidfile"
        release_address
        echo "fake camera on $addr did not come up; see $state/$addr.log" >&2
        exit 1
    fi
    echo "fake visible camera $serial on $addr (pid $pid, at most ${lifetime}s)"
    ;;
stop)
    if [ -e "$pidfile" ]; then
        pid=$(cat "$pidfile")
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$pid" 2>/dev/null || true
        rm -f "$pidfile"
    fi
    release_address
    ;;
run)
    claim_address
    trap release_address EXIT
    timeout "$lifetime" arv-fake-gv-camera-0.8 -i "$addr" -s "$serial" -g "$xml"
    ;;
*)
    usage
    ;;
esac
