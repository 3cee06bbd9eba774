#!/usr/bin/env bash
# Builds every fuzz target with clang and runs each for FUZZ_SECONDS (default 30) on its own corpus.
set -euo pipefail
build=${1:-build/fuzz}
seconds=${FUZZ_SECONDS:-30}
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSARVIK_BUILD_TESTS=OFF \
    -DSARVIK_BUILD_FUZZ=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
status=0
for t in "$build"/bin/fuzz_*; do
    name=$(basename "$t")
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    [ -d "fuzz/seeds/$name" ] && cp -n fuzz/seeds/"$name"/* "$corpus"/ 2>/dev/null || true
    echo "== $name: ${seconds}s"
    if ! "$t" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$build/$name-" "$corpus" \
        >"$build/$name.log" 2>&1; then
        echo "   FINDING: see $build/$name.log"
        status=1
    else
        grep -E 'stat::number_of_executed_units' "$build/$name.log" | sed 's/^/   /' || true
    fi
done
exit $status
