// Baselines the kernel benchmarks are measured against in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

// The memory-bandwidth floor of a kernel over a width x height frame of 16-bit samples (state ranges 0
// and 1): copying the samples once.
inline void bench_copy_samples(benchmark::State &state) {
    const size_t bytes = 2 * static_cast<size_t>(state.range(0)) * static_cast<size_t>(state.range(1));
    std::vector<char> src(bytes, 1), dst(bytes);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), bytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
}
