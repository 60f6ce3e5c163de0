// Studies: 40 days of the default hall (20 seats × 8000 hall games) on 1
// and on 2 worker threads, in wall time. Compare ns_per_game with
// bench_model's BM_Play (the machine alone) and the two thread counts with
// each other (the speed-up).
#include <benchmark/benchmark.h>

#include "core/study/Study.h"

namespace {

class Quiet final : public orvel::StudyObserver {};

void BM_Study(benchmark::State& state) {
  const int threads = static_cast<int>(state.range(0));
  orvel::StudyPlan plan;
  plan.levels.assign(20, 1);
  plan.rates.assign(20, "1");
  plan.games = 8000;
  plan.seed = 12345;
  plan.days = 40;
  Quiet quiet;
  for (auto _ : state) {
    const orvel::StudyOutcome outcome = orvel::RunStudy(plan, threads, quiet);
    benchmark::DoNotOptimize(outcome.stats.Days());
  }
  const double seatGames = static_cast<double>(state.iterations()) * 40 * 20 * 8000;
  state.SetItemsProcessed(static_cast<std::int64_t>(seatGames));
  state.counters["ns_per_game"] =
      benchmark::Counter(seatGames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Study)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
