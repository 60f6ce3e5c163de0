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
  plan.rates.assign(20, orvel::SeatRate("1"));
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

// What the statistics cost at the largest study, 10 million days: adding
// every day, and sending one rank's half to another as words and merging
// it. The balances are spread over 10^5 values, as the default hall's.
void BM_StatsTenMillionDays(benchmark::State& state) {
  constexpr std::int64_t kDays = 10'000'000;
  std::size_t words = 0;
  for (auto _ : state) {
    orvel::StudyStats low, high;
    std::uint64_t x = 12345;
    for (std::int64_t d = 0; d < kDays; ++d) {
      x = x * 6364136223846793005ull + 1442695040888963407ull;
      orvel::DayResult day;
      day.day = d;
      day.hallMedals = static_cast<std::int64_t>((x >> 33) % 100'000) - 50'000;
      (d < kDays / 2 ? low : high).Add(day);
    }
    const std::vector<std::int64_t> sent = high.ToWords();
    words = sent.size();
    low.Merge(orvel::StudyStats::FromWords(sent));
    benchmark::DoNotOptimize(low.Summary().hallMedals.p95);
  }
  state.counters["words_sent"] = static_cast<double>(words);
}
BENCHMARK(BM_StatsTenMillionDays)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
