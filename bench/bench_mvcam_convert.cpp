// The visible camera's frame conversion: a 1280 x 1024 Mono8 frame to BGRA through libMvCameraControl,
// against copying the BGRA bytes once. The conversion must allocate nothing per frame: every allocation
// during the timed loop is counted ("allocs_per_frame").
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "MvCameraControl.h"

namespace {
std::atomic<long> gAllocations{0};
}

// Counting wrappers over glibc's allocator; this program is their only user.
extern "C" {
void *__libc_malloc(size_t);
void *__libc_calloc(size_t, size_t);
void *__libc_realloc(void *, size_t);
void *__libc_memalign(size_t, size_t);

void *malloc(size_t n) {
    ++gAllocations;
    return __libc_malloc(n);
}
void *calloc(size_t n, size_t s) {
    ++gAllocations;
    return __libc_calloc(n, s);
}
void *realloc(void *p, size_t n) {
    ++gAllocations;
    return __libc_realloc(p, n);
}
void *memalign(size_t a, size_t n) {
    ++gAllocations;
    return __libc_memalign(a, n);
}
void *aligned_alloc(size_t a, size_t n) {
    ++gAllocations;
    return __libc_memalign(a, n);
}
int posix_memalign(void **out, size_t a, size_t n) {
    ++gAllocations;
    void *p = __libc_memalign(a, n);
    if (!p) return 12;  // ENOMEM
    *out = p;
    return 0;
}
}

namespace {

void mvcam_mono8_to_bgra(benchmark::State &state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    MV_CC_DEVICE_INFO info{};
    info.nTransport = MVCC_TRANSPORT_GIGE;
    void *handle = nullptr;
    if (MV_CC_CreateHandle(&handle, &info) != MVCC_OK) {
        state.SkipWithError("no handle");
        return;
    }
    std::vector<uint8_t> src(static_cast<size_t>(w) * h), dst(4 * src.size());
    for (size_t i = 0; i < src.size(); ++i) src[i] = static_cast<uint8_t>(i * 7 + i / w);
    MVCC_CONVERT_PARAM p{};
    p.nWidth = static_cast<uint16_t>(w);
    p.nHeight = static_cast<uint16_t>(h);
    p.enSrcPixelType = MVCC_PIXEL_MONO8;
    p.pSrcData = src.data();
    p.nSrcDataLen = static_cast<uint32_t>(src.size());
    p.enDstPixelType = MVCC_PIXEL_BGRA8;
    p.pDstBuffer = dst.data();
    p.nDstBufferSize = static_cast<uint32_t>(dst.size());
    // The first frame sets the converter up; a stream's later frames are what is measured.
    if (MV_CC_ConvertPixelType(handle, &p) != MVCC_OK) state.SkipWithError("conversion failed");
    const long before = gAllocations.load();
    for (auto _ : state) {
        benchmark::DoNotOptimize(MV_CC_ConvertPixelType(handle, &p));
        benchmark::ClobberMemory();
    }
    state.counters["allocs_per_frame"] = static_cast<double>(gAllocations.load() - before) /
                                         static_cast<double>(std::max<int64_t>(1, state.iterations()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(dst.size()));
    MV_CC_DestroyHandle(handle);
}

// The memory floor: writing the BGRA frame once.
void mvcam_mono8_to_bgra_memcpy(benchmark::State &state) {
    const size_t bytes = 4 * static_cast<size_t>(state.range(0)) * static_cast<size_t>(state.range(1));
    std::vector<char> src(bytes, 1), dst(bytes);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), bytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

}  // namespace

BENCHMARK(mvcam_mono8_to_bgra)->Args({1280, 1024});
BENCHMARK(mvcam_mono8_to_bgra_memcpy)->Args({1280, 1024});
BENCHMARK_MAIN();
