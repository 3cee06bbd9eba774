// One diagnostic line formatted into the logger's buffer and handed to a handler.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "zq_logger.h"

namespace {

int g_sink;
void sink(int, const char *line, int len) { g_sink += line[0] + len; }

void logger_line(benchmark::State &state) {
    logger_t *log = logger_create();
    logger_set_handler(log, sink);
    for (auto _ : state) {
        int n = logger_print(log, LOG_LEVEL_DEBUG, "%s,%d,%s:\nrespSize %d, respType %d; recved %d\n\n", "exchange", 123,
                             "command_channel.cpp", 220, 8, 100);
        benchmark::DoNotOptimize(n);
    }
    logger_destroy(log);
}
BENCHMARK(logger_line);

// Baseline: copying the bytes of one such line.
void logger_line_memcpy(benchmark::State &state) {
    std::vector<char> src(96, 'x'), dst(96);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size());
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(logger_line_memcpy);

}  // namespace

BENCHMARK_MAIN();
