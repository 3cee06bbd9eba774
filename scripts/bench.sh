#!/usr/bin/env bash
# Runs every benchmark binary and prints each kernel's time per call with its ratio to the baselines
# measured in the same run ("X_memcpy": memory-bandwidth floor; "X_opencv": nearest OpenCV pipeline),
# then the end-to-end preview figures against virtual cameras on 127.0.10.x, and 64 previews at once on
# 127.0.20.1 to .64 (about a minute and a half).
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
# CPU time of the benchmark thread: kernels are single-threaded and the machine may be shared.
print(f"{'kernel':48} {'time/call':>12} {'x memcpy':>9} {'x opencv':>9}")
for f in sorted(os.listdir(out)):
    if not f.endswith('.json'):
        continue
    data = json.load(open(os.path.join(out, f)))
    times = {}
    for b in data['benchmarks']:
        if b.get('run_type') == 'aggregate':
            continue
        unit = {'ns': 1e-9, 'us': 1e-6, 'ms': 1e-3, 's': 1.0}[b['time_unit']]
        times[b['name']] = b['cpu_time'] * unit
    for name, t in times.items():
        kernel, _, args = name.partition('/')
        if kernel.endswith('_memcpy') or kernel.endswith('_opencv'):
            continue
        def ratio(suffix):
            base = kernel + suffix + ('/' + args if args else '')
            return f"{t / times[base]:.2f}" if base in times and times[base] > 0 else '-'
        shown = f"{t*1e6:.1f} us" if t < 1e-3 else f"{t*1e3:.2f} ms"
        print(f"{name:48} {shown:>12} {ratio('_memcpy'):>9} {ratio('_opencv'):>9}")
PY

# End-to-end: a plain program with its own output, kept beside the JSON results.
if [ -x "$build/bin/e2e_preview" ]; then
    echo
    "$build/bin/e2e_preview" | tee "$out/e2e_preview.txt"
fi
echo; /usr/bin/python3 "$(dirname "$0")/bench_pelvan.py" "$build" | tee "$out/bench_pelvan.txt"
echo; /usr/bin/python3 "$(dirname "$0")/bench_qelm.py" "$build" | tee "$out/bench_qelm.txt"
echo; /usr/bin/python3 "$(dirname "$0")/../bench/bench_export.py" "$build" | tee "$out/bench_export.txt"
echo; /usr/bin/python3 "$(dirname "$0")/../bench/bench_cli_batch.py" "$build" | tee "$out/bench_cli_batch.txt"
