// What the benchmarks need to time a peer library on the same points in the same run: a
// PROJ transformation made once, and the loop that times the peer and this library in turn.
#ifndef KELVANE_BENCH_PEER_COMPARISON_H
#define KELVANE_BENCH_PEER_COMPARISON_H

#include <benchmark/benchmark.h>

#include <utility>

#ifdef KELVANE_BENCH_WITH_PROJ
#include <proj.h>
#endif

namespace kelvane_bench {

// Runs the benchmark's iterations timing theirs() (which returns the CPU seconds it took)
// and, outside the timing, ours() the same way, so that both see the same load on a shared
// machine. Returns the seconds of theirs and of ours, summed over the iterations.
template <typename Theirs, typename Ours>
std::pair<double, double> secondsInTurn(benchmark::State& state, Theirs theirs, Ours ours)
{
    double theirsSeconds = 0.0, oursSeconds = 0.0;
    for (auto _ : state) {
        theirsSeconds += theirs();
        state.PauseTiming();
        oursSeconds += ours();
        state.ResumeTiming();
    }
    return {theirsSeconds, oursSeconds};
}

#ifdef KELVANE_BENCH_WITH_PROJ

// A PROJ transformation made once from its definition string, destroyed at exit; get() is
// null when PROJ refuses the definition.
class ProjPipeline {
public:
    explicit ProjPipeline(const char* definition)
        : ctx_(proj_context_create()), pj_(proj_create(ctx_, definition))
    {
    }
    ~ProjPipeline()
    {
        if (pj_) proj_destroy(pj_);
        proj_context_destroy(ctx_);
    }
    ProjPipeline(const ProjPipeline&) = delete;
    ProjPipeline& operator=(const ProjPipeline&) = delete;
    PJ* get() const { return pj_; }

private:
    PJ_CONTEXT* ctx_;
    PJ* pj_;
};

#endif

} // namespace kelvane_bench

#endif
