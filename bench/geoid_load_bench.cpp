// Loading a geoid grid as a host meets it: the first query after openGeoidGrid reads the
// EGM96 15' text grid (1,038,961 lines) into memory. Reported: time per load, the heap the
// loaded grid holds per node (bytes_per_node; the cell record is 16 bytes) and the peak
// resident size of the process.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "bench/support/egm96_fixture.h"
#include "kelvane/geoid.h"

namespace {

// Bytes the heap hands out at the moment (0 where the C library cannot tell).
double heapInUse()
{
#if defined(__GLIBC__)
    const struct mallinfo2 m = mallinfo2();
    return static_cast<double>(m.uordblks + m.hblkhd);
#else
    return 0.0;
#endif
}

void BM_LoadEgm96TextGrid(benchmark::State& state)
{
    const kelvane_bench::Egm96Folder& folder = kelvane_bench::Egm96Folder::instance();
    if (!folder.ready()) {
        state.SkipWithError(folder.error().c_str());
        return;
    }
    const double nodes = folder.nodeCount();
    double bytesPerNode = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        closeGeoidGrid();
        const double before = heapInUse();
        if (openGeoidGrid(folder.path().c_str(), kvGeoidEGM96) != 0) {
            state.SkipWithError("the converted EGM96 grid cannot be opened");
            break;
        }
        state.ResumeTiming();
        double n = 0.0;
        if (getElevFromGeoidGrid(45.0, 7.0, &n) != kvGeoidOk) { // loads the grid
            state.SkipWithError("the converted EGM96 grid does not load");
            break;
        }
        benchmark::DoNotOptimize(n);
        state.PauseTiming();
        bytesPerNode = (heapInUse() - before) / nodes;
        state.ResumeTiming();
    }
    closeGeoidGrid();
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    state.counters["nodes"] = nodes;
    state.counters["bytes_per_node"] = bytesPerNode;
    state.counters["peak_rss_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_LoadEgm96TextGrid)->Unit(benchmark::kMillisecond);

} // namespace
