#!/usr/bin/env bash
# Runs every benchmark binary and prints each kernel's time per call with its ratio to the baselines
# measured in the same run ("X_memcpy": memory-bandwidth floor; "X_opencv": nearest OpenCV pipeline).
set -euo pipefail
build=${1:-build/bench}
out="$build/results"
mkdir -p "$out"
for b in "$build"/bin/bench_*; do
    name=$(basename "$b")
    "$b" --benchmark_format=json --benchmark_min_time=0.2 >"$out/$name.json" 2>"$out/$name.log"
done
python3 - "$out" <<'PY'
import json, os, sys
out = sys.argv[1]
print(f"{'kernel':44} {'time/call':>14} {'x memcpy':>10} {'x opencv':>10}")
for f in sorted(os.listdir(out)):
    if not f.endswith('.json'):
        continue
    data = json.load(open(os.path.join(out, f)))
    times = {}
    for b in data['benchmarks']:
        unit = {'ns': 1e-9, 'us': 1e-6, 'ms': 1e-3, 's': 1.0}[b['time_unit']]
        times[b['name']] = b['real_time'] * unit
    for name, t in times.items():
        if name.endswith('_memcpy') or name.endswith('_opencv'):
            continue
        def ratio(suffix):
            base = name.split('/')[0] + suffix + ('/' + '/'.join(name.split('/')[1:]) if '/' in name else '')
            return f"{t / times[base]:.2f}" if base in times else '-'
        shown = f"{t*1e6:.2f} us" if t < 1e-3 else f"{t*1e3:.2f} ms"
        print(f"{name:44} {shown:>14} {ratio('_memcpy'):>10} {ratio('_opencv'):>10}")
PY
