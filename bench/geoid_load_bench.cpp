// Loading a geoid grid: the EGM96 15' text grid (1,038,961 nodes) read into memory.
// Reported: time per load, and the heap the loaded grid holds per node
// (bytes_per_node; the cell record is 16 bytes) with the peak resident size.
//
// Setup: the grid is converted once from /usr/share/proj/egm96_15.gtx (Debian package
// proj-data) into a temporary file with the converter of "kelvane grid convert"; the
// benchmark reports itself skipped when that file is missing.
//
// The grid loader is internal to the library (not exported), so its sources are
// compiled into this benchmark directly; they are the same sources, built with the
// same flags, as in the library.
#include "geoid/geoid_grid.cpp"
#include "platform/platform_posix.cpp"
#include "platform/wildcard.cpp"
#include "tools/gtx.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/resource.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

const char* const kEgm96Gtx = "/usr/share/proj/egm96_15.gtx";

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

// The converted EGM96 text grid, made once; empty with why when it cannot be made.
struct Egm96Grid {
    std::string path;
    std::string why;
    Egm96Grid()
    {
        const char* tmp = std::getenv("TMPDIR");
        char name[256];
        if (kelvane::platform::createTempFile(tmp ? tmp : "/tmp", "egm96_", name, sizeof name) != 0) {
            why = "cannot create a temporary file";
            return;
        }
        if (auto failure = kelvane::gtx::convertGtxToGrid(kEgm96Gtx, name)) {
            std::remove(name);
            why = *failure + " (install proj-data for " + kEgm96Gtx + ")";
            return;
        }
        path = name;
    }
    ~Egm96Grid()
    {
        if (!path.empty()) std::remove(path.c_str());
    }
};

const Egm96Grid& egm96()
{
    static const Egm96Grid grid;
    return grid;
}

void BM_LoadEgm96TextGrid(benchmark::State& state)
{
    const Egm96Grid& grid = egm96();
    if (grid.path.empty()) {
        state.SkipWithError(("skipped: " + grid.why).c_str());
        return;
    }
    double bytesPerNode = 0.0;
    int nodes = 0;
    for (auto _ : state) {
        const double before = heapInUse();
        if (kelvane::loadGeoidGridFile(grid.path.c_str()) != 0) {
            state.SkipWithError("the converted EGM96 grid does not load");
            break;
        }
        state.PauseTiming();
        nodes = kelvane::gridNodeCount(kelvane::geoidContextGrid());
        bytesPerNode = (heapInUse() - before) / nodes;
        kelvane::releaseGeoidGrid();
        state.ResumeTiming();
    }
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    state.counters["nodes"] = nodes;
    state.counters["bytes_per_node"] = bytesPerNode;
    state.counters["peak_rss_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_LoadEgm96TextGrid)->Unit(benchmark::kMillisecond);

} // namespace
